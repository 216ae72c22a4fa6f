#include "SearchReference.h"

#include <optional>

#include "catalog/ArchiveEncoding.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/KeyBlock.h"
#include "catalog/TextUtil.h"
#include "text/CaseFold.h"
#include "text/Utf8.h"

namespace discovel::fuzz {
namespace {

struct Damaged {};

// CR, LF and CR LF each end a line; the final line end opens no extra line.
std::vector<std::string_view> LinesOf(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(bytes.substr(begin, i - begin));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    begin = i + 1;
  }
  if (begin < bytes.size()) lines.push_back(bytes.substr(begin));
  return lines;
}

class Archive {
 public:
  explicit Archive(std::string bytes) : m_bytes(std::move(bytes)), m_lines(LinesOf(m_bytes)) {
    m_keys = keyblock::Find(m_lines.size(), [&](std::size_t i) { return m_lines[i]; });
  }
  const std::vector<std::string_view>& Lines() const { return m_lines; }
  std::optional<std::string_view> FindKey(std::string_view key) const {
    for (std::size_t i = m_keys.begin; i < m_keys.end; ++i) {
      if (const auto value = keyblock::ValueIfKey(m_lines[i], key)) return value;
    }
    return std::nullopt;
  }

 private:
  std::string m_bytes;
  std::vector<std::string_view> m_lines;
  keyblock::Range m_keys;
};

// A count or stride key: its low 32 bits; nullopt when blank.
std::optional<std::int32_t> NumberKey(const Archive& archive, std::string_view key) {
  const std::string_view value =
      TrimBlanksAndControls(archive.FindKey(key).value_or(std::string_view()));
  if (value.empty()) return std::nullopt;
  const auto number = ParseInt64(value);
  if (!number) throw Damaged{};
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(*number));
}

std::string MatchText(const SearchSetup& setup, std::string_view mark, std::string_view folder,
                      std::string_view name) {
  std::string match;
  const auto field = [&](std::string_view text) {
    match += text;
    match += kFieldSeparator;
  };
  if (!setup.advancedMode) {
    field(folder);
    field(name);
    return match;
  }
  const std::size_t dot = name.rfind('.');
  if (setup.advanced.marks) field(mark);
  if (setup.advanced.directories) field(folder);
  if (setup.advanced.fileNames) field(name.substr(0, dot));
  if (setup.advanced.fileTypes) field(dot == std::string_view::npos ? "" : name.substr(dot));
  return match;
}

bool PassesFilters(const SearchSetup& setup, std::string_view size, std::string_view time) {
  if (!setup.advancedMode) return true;
  const AdvancedCriteria& a = setup.advanced;
  return (!a.byDate || DateInRange(time, a.dates)) &&
         (!a.bySize || SizeMatches(size, a.sizeAtMost, a.sizeThreshold));
}

}  // namespace

ExpectedSearch ExpectedSearchOf(FileSystem& fs, const TextServices& text,
                                const SearchSetup& setup,
                                const std::vector<std::string>& archives) {
  ExpectedSearch expected;
  const bool upper = !(setup.advancedMode && setup.advanced.caseSensitive);
  const std::string typedTerm = SearchTermOf(setup.typed);
  for (const std::string& path : archives) {
    try {
      const Archive archive(fs.ReadWholeFile(path));
      const std::optional<ArchiveEncoding> encoding = EncodingNamed(archive.FindKey(kAEncoding));
      if (!encoding) throw Damaged{};
      const bool utf8 = *encoding == ArchiveEncoding::Utf8;
      const auto asUtf8 = [&](std::string_view stored) {
        return utf8 ? std::string(stored) : text.FromCodePage(stored);
      };
      // The term in the archive's encoding, folded as its texts are; none
      // when the archive cannot hold it.
      std::optional<std::string> term;
      if (utf8) {
        if (utf8::IsValid(typedTerm)) term = upper ? casefold::Fold(typedTerm) : typedTerm;
      } else {
        term = text.ToCodePageExactly(typedTerm);
        if (term && upper) term = text.AnsiToUpper(*term);
      }
      const std::string_view storedMark =
          TrimBlanksAndControls(archive.FindKey(kAMark).value_or(std::string_view()));
      const std::string mark = storedMark.empty() ? std::string("Unknown") : std::string(storedMark);
      // An archive of another mark is passed over unopened: it could give no
      // row. One in an unknown encoding has no mark to tell.
      if (!setup.restriction.empty() && asUtf8(mark) != setup.restriction) continue;
      const std::int32_t stride = NumberKey(archive, kAPars).value_or(4);
      const auto count = NumberKey(archive, kAFiles);
      if (!count) continue;
      const bool allowed = term.has_value();
      const std::vector<std::string_view>& lines = archive.Lines();
      for (std::int32_t i = 0; i < *count; ++i) {
        const std::int64_t base = std::int64_t{i} * stride;
        if (stride == 0 || base < 0 || base + 3 >= static_cast<std::int64_t>(lines.size())) {
          throw Damaged{};
        }
        const auto at = static_cast<std::size_t>(base);
        const std::string_view folder = lines[at];
        const std::string_view name = lines[at + 1];
        if (!allowed) continue;
        std::string match = MatchText(setup, mark, folder, name);
        if (upper) match = utf8 ? casefold::Fold(match) : text.AnsiToUpper(match);
        if (match.find(*term) != std::string::npos && PassesFilters(setup, lines[at + 2], lines[at + 3])) {
          expected.rows.push_back(asUtf8(mark) + "|" + asUtf8(folder) + "|" + asUtf8(name));
        }
      }
    } catch (const Damaged&) {
      ++expected.failures;
    }
  }
  return expected;
}

}  // namespace discovel::fuzz
