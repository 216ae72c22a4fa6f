// The archive reader and its key rules on arbitrary bytes, and the writer's
// lines read back.
//
// Input: a first byte 'w' means the writer, whose fields follow as lines:
// mark, location, note, crc, "date files dirs size number", then per entry
// folder, name and "size time". Any other first byte: the rest is an archive,
// also read from its tail behind (byte % 32) * 8 filler entries.
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "FuzzInput.h"
#include "MemoryFileSystem.h"
#include "catalog/ArchiveFile.h"
#include "platform/AppError.h"

namespace discovel::fuzz {
namespace {

const std::string kPath = "M:\\Archive\\1.dat";

// The names before '=' of the input's lines, and the keys the program reads.
std::vector<std::string> KeyNames(const ArchiveText& text) {
  std::vector<std::string> names = {"AMark", "AFiles", "APars", "ANumber", "AEnd"};
  for (std::size_t i = 0; i < text.LineCount() && names.size() < 40; ++i) {
    const std::string_view line = text.Line(i);
    const std::size_t eq = line.find('=');
    if (eq != std::string_view::npos) names.emplace_back(line.substr(0, eq));
  }
  return names;
}

// EntryLines succeeds exactly when the entry's four lines exist; looked at
// around the edge, where each stride's entries run out.
void CheckEntries(const ArchiveText& text) {
  const std::size_t count = text.LineCount();
  for (std::size_t stride = 0; stride <= 5; ++stride) {
    const std::size_t edge = stride == 0 || count < 4 ? 0 : (count - 4) / stride;
    for (const std::size_t index : {std::size_t{0}, std::size_t{1}, edge, edge + 1, count}) {
      const bool inside = stride != 0 && index * stride + 3 < count;
      try {
        const EntryView entry = text.EntryLines(index, stride);
        FUZZ_REQUIRE(inside);
        FUZZ_REQUIRE(entry.folder == text.Line(index * stride));
        FUZZ_REQUIRE(entry.time == text.Line(index * stride + 3));
      } catch (const AppError&) {
        FUZZ_REQUIRE(!inside);
      }
    }
  }
  try {
    text.EntryLines(static_cast<std::size_t>(-1), 1);
    FUZZ_REQUIRE(false);
  } catch (const AppError&) {
  }
}

void CheckKeyEdits(ArchiveLines lines, const std::string& key) {
  if (key.find_first_of("\r\n=") != std::string::npos) return;
  lines.SetKey(key, "set by fuzz");
  FUZZ_REQUIRE(lines.FindKey(key) == std::string_view("set by fuzz"));
  FUZZ_REQUIRE(ArchiveText(lines.Text()).FindKey(key) == std::string_view("set by fuzz"));
  const std::size_t before = lines.Lines().size();
  lines.SetKey(key, "");
  FUZZ_REQUIRE(lines.Lines().size() + 1 == before);
}

void ReadAnyBytes(std::string_view bytes, std::size_t fillerEntries) {
  const ArchiveText text{std::string(bytes)};
  const ArchiveLines lines = ArchiveLines::FromText(bytes);
  FUZZ_REQUIRE(lines.Lines().size() == text.LineCount());
  for (std::size_t i = 0; i < text.LineCount(); ++i) {
    FUZZ_REQUIRE(text.Line(i) == lines.Lines()[i]);
    FUZZ_REQUIRE(text.Line(i).find_first_of("\r\n") == std::string_view::npos);
  }
  FUZZ_REQUIRE(ArchiveLines::FromText(lines.Text()).Lines() == lines.Lines());
  CheckEntries(text);

  // The tail reader sees the same key block as the whole-file reader.
  std::string file;
  for (std::size_t i = 0; i < fillerEntries; ++i) file += "\\\r\nfiller.txt\r\n1\r\n0\r\n";
  file += bytes;
  MemoryFileSystem fs;
  fs.Put(kPath, file);
  // Both decode the file, or both refuse its encoding.
  std::optional<ArchiveText> whole;
  std::optional<ArchiveText> tail;
  try {
    whole = ArchiveText::Decode(file, SystemTextServices(), kPath);
  } catch (const AppError&) {
  }
  try {
    tail = ArchiveText::LoadKeyBlock(fs, kPath, SystemTextServices());
  } catch (const AppError&) {
  }
  FUZZ_REQUIRE(whole.has_value() == tail.has_value());
  if (whole) {
    for (const std::string& name : KeyNames(*whole)) FUZZ_REQUIRE(tail->FindKey(name) == whole->FindKey(name));
  }
  const std::vector<std::string> names = KeyNames(text);
  for (const std::string& name : names) FUZZ_REQUIRE(text.FindKey(name) == lines.FindKey(name));
  CheckKeyEdits(lines, names.back());
}

std::string WithoutCr(std::string_view text) {
  std::string result;
  for (const char c : text) {
    if (c != '\r') result += c;
  }
  return result;
}

void WriteAndReadBack(FuzzInput& input) {
  ArchiveKeys keys;
  keys.mark = WithoutCr(input.Line());
  keys.location = WithoutCr(input.Line());
  keys.note = WithoutCr(input.Line());
  keys.crc = WithoutCr(input.Line());
  const std::string numbers(input.Line());
  char* next = nullptr;
  keys.date = static_cast<std::int32_t>(std::strtoll(numbers.c_str(), &next, 10));
  keys.files = std::strtoll(next, &next, 10);
  keys.dirs = std::strtoll(next, &next, 10);
  keys.size = std::strtoll(next, &next, 10);
  keys.number = static_cast<std::int32_t>(std::strtoll(next, &next, 10));

  ArchiveLines lines;
  std::vector<std::string> written;
  while (!input.Rest().empty()) {
    const std::string folder = WithoutCr(input.Line());
    const std::string name = WithoutCr(input.Line());
    const std::string numbers(input.Line());
    const std::int64_t size = std::strtoll(numbers.c_str(), &next, 10);
    const auto time = static_cast<std::int32_t>(std::strtoll(next, &next, 10));
    lines.AppendEntry(folder, name, size, time);
    written.insert(written.end(), {folder, name, std::to_string(size), std::to_string(time)});
  }
  lines.AppendKeyLines(keys);

  MemoryFileSystem fs;
  fs.Put(kPath, lines.Encoded(SystemTextServices()));
  const ArchiveText text = ArchiveText::Load(fs, kPath, SystemTextServices());
  for (std::size_t i = 0; i < written.size() / 4; ++i) {
    const EntryView entry = text.EntryLines(i);
    FUZZ_REQUIRE(entry.folder == written[4 * i] && entry.name == written[4 * i + 1]);
    FUZZ_REQUIRE(entry.size == written[4 * i + 2] && entry.time == written[4 * i + 3]);
  }
  const ArchiveText tail = ArchiveText::LoadKeyBlock(fs, kPath, SystemTextServices());
  for (const ArchiveText* read : {&text, &tail}) {
    FUZZ_REQUIRE(read->ReadKey(kAMark) == keys.mark);
    FUZZ_REQUIRE(read->ReadKey(kALocation) == keys.location);
    FUZZ_REQUIRE(read->ReadKey(kANote) == keys.note);
    FUZZ_REQUIRE(read->ReadKey(kACRC) == keys.crc);
    FUZZ_REQUIRE(read->ReadKey(kADate) == std::to_string(keys.date));
    FUZZ_REQUIRE(read->ReadKey(kAFiles) == std::to_string(keys.files));
    FUZZ_REQUIRE(read->ReadKey(kASize) == std::to_string(keys.size));
    FUZZ_REQUIRE(read->ReadKey(kANumber) == std::to_string(keys.number));
    FUZZ_REQUIRE(read->ReadKey(kAEnd) == kEndValue);
  }
}

}  // namespace
}  // namespace discovel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace discovel::fuzz;
  FuzzInput input(data, size);
  const unsigned char mode = input.Byte();
  if (mode == 'w') {
    WriteAndReadBack(input);
  } else {
    ReadAnyBytes(input.Rest(), (mode % 32) * 8u);
  }
  return 0;
}
