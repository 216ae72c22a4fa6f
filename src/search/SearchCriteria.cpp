#include "search/SearchCriteria.h"

#include <tuple>

#include "catalog/DosTime.h"
#include "catalog/TextUtil.h"

namespace discovel {
namespace {

bool IsLater(const LocalTime& a, const LocalTime& b) {
  return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second, a.millisecond) >
         std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second, b.millisecond);
}

}  // namespace

std::string SearchTermOf(std::string_view typed) {
  std::string term;
  term.reserve(typed.size());
  for (const char c : typed) {
    if (c != '*' && c != '?') term += c;
  }
  return term;
}

DateBounds DateBoundsOf(const LocalTime& from, const LocalTime& to) {
  const bool swap = IsLater(from, to);
  LocalTime first = swap ? to : from;
  LocalTime last = swap ? from : to;
  first.hour = first.minute = first.second = first.millisecond = 0;
  last.hour = 23;
  last.minute = 59;
  last.second = 59;  // packs as 58: the form keeps seconds halved
  last.millisecond = 999;
  return {PackDosDateTime(first), PackDosDateTime(last)};
}

std::int64_t SizeThresholdOf(int upDownPosition, std::string_view multiplierText) {
  std::int64_t multiplier = 0;
  if (multiplierText == "Bytes") {
    multiplier = 1;
  } else if (multiplierText == "KiloBytes") {
    multiplier = 1000;
  } else if (multiplierText == "MegaBytes") {
    multiplier = 1000000;
  } else if (multiplierText == "GigaBytes") {
    multiplier = 1000000000;
  }
  return static_cast<std::int16_t>(upDownPosition) * multiplier;
}

bool IsAtMost(std::string_view comparisonText) {
  return comparisonText == "at most";
}

bool DateInRange(std::string_view timeText, DateBounds bounds) {
  const std::int64_t value = ParseInt64(timeText).value_or(0);
  return bounds.low <= value && value <= bounds.high;
}

bool SizeMatches(std::string_view sizeText, bool atMost, std::int64_t threshold) {
  std::int64_t size = 0;
  if (sizeText.find('.') == std::string_view::npos) {
    size = ParseInt64(sizeText).value_or(0);
  } else {
    // Dotted text is rare in archives; a copy here costs nothing overall.
    std::string digits;
    for (const char c : sizeText) {
      if (c != '.') digits += c;
    }
    size = ParseInt64(digits).value_or(0);
  }
  return atMost ? size <= threshold : size >= threshold;
}

std::string_view ExtensionOf(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

}  // namespace discovel
