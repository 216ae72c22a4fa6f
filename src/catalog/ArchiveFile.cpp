#include "catalog/ArchiveFile.h"

#include "catalog/ArchiveSource.h"
#include "catalog/KeyBlock.h"
#include "catalog/TextLines.h"
#include "platform/AppError.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

// Calls onLine(begin, length) per line.
template <class OnLine>
void SplitLines(std::string_view bytes, const OnLine& onLine) {
  LineCursor lines(bytes);
  std::string_view line;
  while (lines.Next(line)) onLine(static_cast<std::size_t>(line.data() - bytes.data()), line.size());
}

// Offset just after the first line end, or npos when there is none.
std::size_t AfterFirstLineEnd(std::string_view bytes) {
  const std::size_t i = bytes.find_first_of("\r\n");
  if (i == std::string_view::npos) return i;
  return (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? i + 2 : i + 1;
}

constexpr std::size_t kFirstTailBytes = 4096;

}  // namespace

DecodedArchive DecodeArchiveBytes(std::string bytes, const TextServices& text, std::string_view source) {
  const std::optional<std::string_view> value = EncodingKeyOf(bytes);
  const std::optional<ArchiveEncoding> encoding = EncodingNamed(value);
  if (!encoding) {
    throw AppError(std::string(kMsgUnknownEncoding) + std::string(source) + " (" + std::string(kAEncoding) + "=" +
                   std::string(*value) + ")");
  }
  // ASCII reads the same in every code page.
  if (*encoding == ArchiveEncoding::CodePage && !utf8::IsAscii(bytes)) bytes = text.FromCodePage(bytes);
  return {std::move(bytes), *encoding};
}

ArchiveText::ArchiveText(std::string utf8, ArchiveEncoding encoding) : m_bytes(std::move(utf8)), m_encoding(encoding) {
  SplitLines(m_bytes, [this](std::size_t begin, std::size_t length) {
    m_lines.push_back({begin, length});
  });
  const auto range = keyblock::Find(m_lines.size(), [this](std::size_t i) { return At(i); });
  m_keyBegin = range.begin;
  m_keyEnd = range.end;
}

ArchiveText ArchiveText::Decode(std::string bytes, const TextServices& text, std::string_view source) {
  DecodedArchive decoded = DecodeArchiveBytes(std::move(bytes), text, source);
  return ArchiveText(std::move(decoded.text), decoded.encoding);
}

ArchiveText ArchiveText::Load(FileSystem& fs, const std::string& path, const TextServices& text) {
  return Decode(fs.ReadWholeFile(path), text, path);
}

ArchiveText ArchiveText::LoadKeyBlock(FileSystem& fs, const std::string& path, const TextServices& text) {
  return TailHoldingKeyBlock(
      [&](std::size_t bytes, bool& wholeFile) { return fs.ReadTail(path, bytes, wholeFile); },
      [&](std::string bytes) { return Decode(std::move(bytes), text, path); });
}

ArchiveText ArchiveText::KeyBlockOf(std::string_view utf8, ArchiveEncoding encoding) {
  return TailHoldingKeyBlock(
      [utf8](std::size_t bytes, bool& wholeText) {
        wholeText = bytes >= utf8.size();
        return std::string(wholeText ? utf8 : utf8.substr(utf8.size() - bytes));
      },
      [encoding](std::string bytes) { return ArchiveText(std::move(bytes), encoding); });
}

ArchiveText ArchiveText::TailHoldingKeyBlock(const std::function<std::string(std::size_t, bool&)>& readTail,
                                             const std::function<ArchiveText(std::string)>& make) {
  constexpr std::size_t kMaxBytes = static_cast<std::size_t>(-1);
  std::size_t tailBytes = kFirstTailBytes;
  for (;;) {
    bool whole = false;
    std::string bytes = readTail(tailBytes, whole);
    if (whole) return make(std::move(bytes));
    // The tail starts inside some line: drop that part line. A line end is
    // never part of a character, in any code page.
    const std::size_t cut = AfterFirstLineEnd(bytes);
    if (cut != std::string::npos) {
      ArchiveText tail = make(bytes.substr(cut));
      // A non-key line before the block proves the block is complete.
      if (tail.m_keyBegin > 0) return tail;
    }
    // Four times more next round, without wrapping a 32-bit size_t.
    tailBytes = tailBytes > kMaxBytes / 4 ? kMaxBytes : tailBytes * 4;
  }
}

std::string_view ArchiveText::Line(std::size_t index) const {
  if (index >= m_lines.size()) {
    throw AppError("Line " + std::to_string(index + 1) + " of the archive lies past its end.");
  }
  return At(index);
}

std::optional<std::string_view> ArchiveText::FindKey(std::string_view key) const {
  for (std::size_t i = m_keyBegin; i < m_keyEnd; ++i) {
    if (auto value = keyblock::ValueIfKey(At(i), key)) return value;
  }
  return std::nullopt;
}

std::string ArchiveText::ReadKey(std::string_view key) const {
  return std::string(FindKey(key).value_or(std::string_view()));
}

EntryView ArchiveText::EntryLines(std::size_t index, std::size_t stride) const {
  // With a stride of 0 every index would name the first entry.
  if (stride == 0) {
    throw AppError("The archive is damaged: its entries are given 0 lines each.");
  }
  const std::size_t lineCount = m_lines.size();
  // Division instead of index*stride+3 so that no product can wrap.
  const bool pastEnd = lineCount < 4 || index > (lineCount - 4) / stride;
  if (pastEnd) {
    throw AppError("Entry " + std::to_string(index + 1) + " of the archive lies past its end.");
  }
  const std::size_t first = index * stride;
  return {At(first), At(first + 1), At(first + 2), At(first + 3)};
}

ArchiveLines ArchiveLines::FromText(std::string_view utf8) {
  ArchiveLines result;
  SplitLines(utf8, [&](std::size_t begin, std::size_t length) {
    result.m_lines.emplace_back(utf8.substr(begin, length));
  });
  return result;
}

ArchiveLines ArchiveLines::Decode(std::string_view bytes, const TextServices& text, std::string_view source) {
  const DecodedArchive decoded = DecodeArchiveBytes(std::string(bytes), text, source);
  ArchiveLines result = FromText(decoded.text);
  result.m_encoding = decoded.encoding;
  // The encoding key is the file's business, written anew at every save.
  const keyblock::Range range = result.KeyRange();
  for (std::size_t i = range.end; i-- > range.begin;) {
    if (keyblock::ValueIfKey(result.m_lines[i], kAEncoding)) {
      result.m_lines.erase(result.m_lines.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  return result;
}

ArchiveLines ArchiveLines::Load(FileSystem& fs, const std::string& path, const TextServices& text) {
  return Decode(fs.ReadWholeFile(path), text, path);
}

void ArchiveLines::AppendEntry(std::string_view folder, std::string_view name, std::int64_t size,
                               std::int32_t dosTime) {
  m_lines.emplace_back(folder);
  m_lines.emplace_back(name);
  m_lines.push_back(std::to_string(size));
  m_lines.push_back(std::to_string(dosTime));
}

void ArchiveLines::AppendKeyLines(const ArchiveKeys& keys) {
  const auto add = [this](std::string_view key, std::string_view value) {
    m_lines.push_back(std::string(key) + "=" + std::string(value));
  };
  add(kADate, std::to_string(keys.date));
  add(kAMark, keys.mark);
  add(kALocation, keys.location);
  add(kACRC, keys.crc);
  add(kAFiles, std::to_string(keys.files));
  add(kADirs, std::to_string(keys.dirs));
  add(kANote, keys.note);
  add(kASize, std::to_string(keys.size));
  add(kANumber, std::to_string(keys.number));
  add(kASource, SourceKindText(keys.source.kind));
  add(kAPicture, "");
  add(kAEnd, kEndValue);
  if (keys.source.kind == SourceKind::kDisc) return;
  add(kASourcePath, keys.source.path);
  if (keys.source.serial) add(kAVolumeSerial, FormatVolumeSerial(*keys.source.serial));
  add(kAVolumeLabel, keys.source.label);
}

keyblock::Range ArchiveLines::KeyRange() const {
  return keyblock::Find(m_lines.size(),
                        [this](std::size_t i) -> const std::string& { return m_lines[i]; });
}

std::optional<std::string_view> ArchiveLines::FindKey(std::string_view key) const {
  const auto range = KeyRange();
  for (std::size_t i = range.begin; i < range.end; ++i) {
    if (auto value = keyblock::ValueIfKey(m_lines[i], key)) return value;
  }
  return std::nullopt;
}

std::vector<std::string> ArchiveLines::KeyLines() const {
  const auto range = KeyRange();
  return std::vector<std::string>(m_lines.begin() + static_cast<std::ptrdiff_t>(range.begin),
                                  m_lines.begin() + static_cast<std::ptrdiff_t>(range.end));
}

void ArchiveLines::SetKey(std::string_view key, std::string_view value) {
  const auto range = KeyRange();
  std::string line = std::string(key) + "=" + std::string(value);
  for (std::size_t i = range.begin; i < range.end; ++i) {
    if (!keyblock::ValueIfKey(m_lines[i], key)) continue;
    if (value.empty()) {
      m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      m_lines[i] = std::move(line);
    }
    return;
  }
  if (!value.empty()) {
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(range.end), std::move(line));
  }
}

std::string ArchiveLines::Text() const {
  std::size_t total = 0;
  for (const auto& line : m_lines) total += line.size() + 2;
  std::string text;
  text.reserve(total);
  for (const auto& line : m_lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::optional<std::string> ArchiveLines::CodePageBytes(const TextServices& text) const {
  std::string utf8 = Text();
  if (utf8::IsAscii(utf8)) return utf8;
  return text.ToCodePageExactly(utf8);
}

std::string ArchiveLines::Encoded(const TextServices& text) const {
  if (m_encoding == ArchiveEncoding::CodePage) {
    if (std::optional<std::string> ansi = CodePageBytes(text)) return std::move(*ansi);
  }
  // The encoding key closes the key block, before any empty lines after it.
  ArchiveLines marked = *this;
  const keyblock::Range range = KeyRange();
  marked.m_lines.insert(marked.m_lines.begin() + static_cast<std::ptrdiff_t>(range.end),
                        std::string(kAEncoding) + "=" + std::string(kUtf8EncodingValue));
  return marked.Text();
}

void ArchiveLines::Save(FileSystem& fs, const std::string& path, const TextServices& text) const {
  fs.WriteFileReplacing(path, Encoded(text));
}

}  // namespace discovel
