// The core's text parsers and formatters, each against a plain reference or
// its own inverse. The first byte picks the parser; the rest is its input.
#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "catalog/DosTime.h"
#include "catalog/NumberFormat.h"
#include "catalog/TextUtil.h"
#include "platform/posix/PosixFileSystem.h"
#include "search/SearchCriteria.h"

namespace discovel::fuzz {
namespace {

std::optional<std::int64_t> ReferenceInt64(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  __int128 value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min<__int128>(value * 10 + (c - '0'), __int128{1} << 64);
  }
  if (negative) value = -value;
  if (value < INT64_MIN || value > INT64_MAX) return std::nullopt;
  return static_cast<std::int64_t>(value);
}

void CheckIntegers(std::string_view text) {
  const auto parsed = ParseInt64(text);
  FUZZ_REQUIRE(parsed == ReferenceInt64(text));
  const auto parsed32 = ParseInt32(text);
  FUZZ_REQUIRE(parsed32.has_value() ==
               (parsed && *parsed >= INT32_MIN && *parsed <= INT32_MAX));
  if (parsed32) FUZZ_REQUIRE(*parsed32 == *parsed);
}

void CheckCounts(FuzzInput& input) {
  const std::string separator(input.Line());
  const std::uint64_t high = input.Word32();
  const auto value = static_cast<std::int64_t>(high << 32 | input.Word32());
  const std::string text = FormatCount(value, separator);
  // A separator made of digits or signs cannot be told from the number.
  if (separator.find_first_of("0123456789+-") == std::string::npos) {
    FUZZ_REQUIRE(ParseFormattedCount(text, separator) == value);
  }
  ParseFormattedCount(input.Rest(), separator);
}

void CheckDisplayDates(FuzzInput& input) {
  const auto dateSep = static_cast<char>(input.Byte());
  const auto timeSep = static_cast<char>(input.Byte());
  const auto time = ParseDisplayDateTime(input.Rest(), dateSep, timeSep);
  if (!time) return;
  FUZZ_REQUIRE(time->month >= 1 && time->month <= 12 && time->day >= 1 &&
               time->day <= DaysInMonth(time->year, time->month));
  FUZZ_REQUIRE(ParseDisplayDateTime(FormatDisplayDateTime(*time, dateSep, timeSep), dateSep,
                                    timeSep) == time);
  const std::int32_t packed = PackDosDateTime(*time);
  if (time->year < 1980 || time->year > 2107) {
    FUZZ_REQUIRE(packed == 0);
    return;
  }
  LocalTime even = *time;
  even.second -= even.second % 2;
  FUZZ_REQUIRE(UnpackDosDateTime(packed) == even);
}

void CheckPackedTimes(FuzzInput& input) {
  const auto packed = static_cast<std::int32_t>(input.Word32());
  const auto time = UnpackDosDateTime(packed);
  if (time) {
    FUZZ_REQUIRE(PackDosDateTime(*time) == packed);
    FUZZ_REQUIRE(ParseDisplayDateTime(FormatDisplayDateTime(*time, '/', ':'), '/', ':') == time);
  }
  const auto other = UnpackDosDateTime(static_cast<std::int32_t>(input.Word32()));
  if (time && other) {
    const DateBounds bounds = DateBoundsOf(*time, *other);
    FUZZ_REQUIRE(bounds.low <= bounds.high || bounds.high < 0);
    FUZZ_REQUIRE(UnpackDosDateTime(bounds.low) && UnpackDosDateTime(bounds.high));
  }
}

// The mask rules the slow way: '*' any run, '?' one character, ASCII case aside.
bool ReferencePlainWildcard(std::string_view name, std::string_view mask) {
  const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  // matches[i][j]: name from i on matches mask from j on.
  std::vector<std::vector<bool>> matches(name.size() + 1, std::vector<bool>(mask.size() + 1));
  for (std::size_t i = name.size() + 1; i-- > 0;) {
    matches[i][mask.size()] = i == name.size();
    for (std::size_t j = mask.size(); j-- > 0;) {
      if (mask[j] == '*') {
        matches[i][j] = matches[i][j + 1] || (i < name.size() && matches[i + 1][j]);
      } else {
        matches[i][j] = i < name.size() && (mask[j] == '?' || fold(mask[j]) == fold(name[i])) &&
                        matches[i + 1][j + 1];
      }
    }
  }
  return matches[0][0];
}

// A trailing ".*" also takes a name without an extension.
bool ReferenceWildcard(std::string_view name, std::string_view mask) {
  return ReferencePlainWildcard(name, mask) ||
         (mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*" &&
          ReferencePlainWildcard(name, mask.substr(0, mask.size() - 2)));
}

void CheckWildcards(FuzzInput& input) {
  const std::string_view mask = input.Line().substr(0, 200);
  const std::string_view name = input.Rest().substr(0, 200);
  FUZZ_REQUIRE(MatchesWildcard(name, mask) == ReferenceWildcard(name, mask));
}

void CheckCriteria(FuzzInput& input) {
  const std::string_view typed = input.Line();
  const std::string term = SearchTermOf(typed);
  FUZZ_REQUIRE(term.find_first_of("*?") == std::string::npos);
  const std::int64_t threshold = SizeThresholdOf(static_cast<int>(input.Word32()), input.Line());
  FUZZ_REQUIRE(threshold >= -32768LL * 1000000000 && threshold <= 32767LL * 1000000000);
  const std::string_view line = input.Rest();
  std::string digits(line);
  digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
  const std::int64_t size = ParseInt64(digits).value_or(0);
  FUZZ_REQUIRE(SizeMatches(line, true, threshold) == (size <= threshold));
  FUZZ_REQUIRE(SizeMatches(line, false, threshold) == (size >= threshold));
  const std::int64_t time = ParseInt64(line).value_or(0);
  FUZZ_REQUIRE(DateInRange(line, {-5, 5}) == (time >= -5 && time <= 5));
  const std::string_view extension = ExtensionOf(typed);
  FUZZ_REQUIRE(extension.find('.') == std::string_view::npos);
}

void CheckTextRules(FuzzInput& input) {
  const std::string_view a = input.Line();
  const std::string_view b = input.Rest();
  const std::string_view trimmed = TrimBlanksAndControls(a);
  FUZZ_REQUIRE(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 0x20 &&
                                   static_cast<unsigned char>(trimmed.back()) > 0x20));
  FUZZ_REQUIRE(a.find(trimmed) != std::string_view::npos);
  std::string lowerA(a), lowerB(b);
  for (std::string* s : {&lowerA, &lowerB}) {
    for (char& c : *s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
  }
  FUZZ_REQUIRE(EqualsIgnoreAsciiCase(a, b) == (lowerA == lowerB));
  const std::string folder = IncludeTrailingBackslash(a);
  FUZZ_REQUIRE(a.empty() ? folder.empty() : folder.back() == '\\');
}

}  // namespace
}  // namespace discovel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace discovel::fuzz;
  FuzzInput input(data, size);
  switch (input.Byte() % 7) {
    case 0: CheckIntegers(input.Rest()); break;
    case 1: CheckCounts(input); break;
    case 2: CheckDisplayDates(input); break;
    case 3: CheckPackedTimes(input); break;
    case 4: CheckWildcards(input); break;
    case 5: CheckCriteria(input); break;
    default: CheckTextRules(input); break;
  }
  return 0;
}
