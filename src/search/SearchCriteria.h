#pragma once
// What a search looks for, and the rules that turn the search window's
// controls into it: the term, the advanced panel, the date and size filters.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/LocalTime.h"

namespace discovel {

// Follows every field of the match text, so a term never matches across two.
// No UTF-8 character holds this byte; in an ANSI archive it is a character of
// the code page, and a term typed with it does reach over a field.
inline constexpr char kFieldSeparator = '\xFF';

// Inclusive bounds in the MS-DOS packed form of the entries' time lines.
struct DateBounds {
  std::int32_t low = 0;
  std::int32_t high = 0;
};

// The advanced panel; it is disabled while a search runs.
struct AdvancedCriteria {
  bool marks = false;        // "Marks"
  bool directories = true;   // "Directories"
  bool fileNames = true;     // "File names"
  bool fileTypes = true;     // "File type"
  bool caseSensitive = false;
  bool byDate = false;
  DateBounds dates;
  bool bySize = false;
  bool sizeAtMost = false;   // otherwise "at least"
  std::int64_t sizeThreshold = 0;
};

// The typed text with every '*' and '?' removed: no wildcards, a plain substring.
std::string SearchTermOf(std::string_view typed);

// Whole days from the earlier to the later of the two moments (swapped when
// `from` is later): low packs 00:00:00 of the first day, high 23:59:58 of the last.
DateBounds DateBoundsOf(const LocalTime& from, const LocalTime& to);

// The up-down position (taken as signed 16-bit) times 1, 1000, 1000000 or
// 1000000000 for "Bytes", "KiloBytes", "MegaBytes", "GigaBytes"; 0 for other text.
std::int64_t SizeThresholdOf(int upDownPosition, std::string_view multiplierText);

// Only the exact text "at most" compares downwards.
bool IsAtMost(std::string_view comparisonText);

// The time line as a signed 64-bit decimal (0 when not a number) within the bounds.
bool DateInRange(std::string_view timeText, DateBounds bounds);

// The size line with every '.' removed, as a signed 64-bit decimal (0 when not a
// number), against the threshold; both comparisons include equality.
bool SizeMatches(std::string_view sizeText, bool atMost, std::int64_t threshold);

// The name's text after its last '.'; empty when it has none.
std::string_view ExtensionOf(std::string_view name);

}  // namespace discovel
