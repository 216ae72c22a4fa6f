#include "SearchReference.h"

#include <optional>

#include "catalog/ArchiveFile.h"
#include "catalog/TextUtil.h"

namespace discovel::fuzz {
namespace {

struct Damaged {};

// A count or stride key: its low 32 bits; nullopt when blank.
std::optional<std::int32_t> NumberKey(const ArchiveText& archive, std::string_view key) {
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
  const std::string term = upper ? text.ToUpper(typedTerm) : typedTerm;
  for (const std::string& path : archives) {
    try {
      const ArchiveText archive = ArchiveText::Load(fs, path, text);
      const std::int32_t stride = NumberKey(archive, kAPars).value_or(4);
      const auto count = NumberKey(archive, kAFiles);
      if (!count) continue;
      const std::string_view stored =
          TrimBlanksAndControls(archive.FindKey(kAMark).value_or(std::string_view()));
      const std::string mark = stored.empty() ? "Unknown" : std::string(stored);
      const bool allowed = setup.restriction.empty() || mark == setup.restriction;
      for (std::int32_t i = 0; i < *count; ++i) {
        const std::int64_t base = std::int64_t{i} * stride;
        if (stride == 0 || base < 0 || base + 3 >= static_cast<std::int64_t>(archive.LineCount())) {
          throw Damaged{};
        }
        const EntryView entry = archive.EntryLines(static_cast<std::size_t>(i),
                                                   static_cast<std::size_t>(stride));
        std::string match = MatchText(setup, mark, entry.folder, entry.name);
        if (upper) match = text.ToUpper(match);
        if (allowed && match.find(term) != std::string::npos &&
            PassesFilters(setup, entry.size, entry.time)) {
          expected.rows.push_back(mark + "|" + std::string(entry.folder) + "|" +
                                  std::string(entry.name));
        }
      }
    } catch (const Damaged&) {
      ++expected.failures;
    }
  }
  return expected;
}

}  // namespace discovel::fuzz
