#include "catalog/DosTime.h"

#include <cstdio>

namespace discovel {
namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsValid(const LocalTime& t) {
  return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) &&
         t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
         t.second <= 59;
}

// Reads 1..maxDigits decimal digits (exactly `maxDigits` when `exact`).
bool ReadNumber(std::string_view& text, std::size_t maxDigits, bool exact, int& value) {
  std::size_t n = 0;
  value = 0;
  while (n < text.size() && n < maxDigits && text[n] >= '0' && text[n] <= '9') {
    value = value * 10 + (text[n] - '0');
    ++n;
  }
  if (n == 0 || (exact && n != maxDigits)) return false;
  text.remove_prefix(n);
  return true;
}

bool ReadChar(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::int32_t PackDosDateTime(const LocalTime& t) {
  if (t.year < 1980 || t.year > 2107) return 0;
  const std::uint32_t date = static_cast<std::uint32_t>(
      ((t.year - 1980) << 9) | (t.month << 5) | t.day);
  const std::uint32_t time = static_cast<std::uint32_t>(
      (t.hour << 11) | (t.minute << 5) | (t.second / 2));
  // Years from 2044 set the top bit: the stored number is then negative.
  return static_cast<std::int32_t>((date << 16) | time);
}

std::optional<LocalTime> UnpackDosDateTime(std::int32_t packed) {
  const auto bits = static_cast<std::uint32_t>(packed);
  LocalTime t;
  t.year = 1980 + static_cast<int>(bits >> 25);
  t.month = static_cast<int>((bits >> 21) & 0x0F);
  t.day = static_cast<int>((bits >> 16) & 0x1F);
  t.hour = static_cast<int>((bits >> 11) & 0x1F);
  t.minute = static_cast<int>((bits >> 5) & 0x3F);
  t.second = static_cast<int>(bits & 0x1F) * 2;
  if (!IsValid(t)) return std::nullopt;
  return t;
}

std::string FormatDisplayDateTime(const LocalTime& t, char dateSep, char timeSep) {
  char buffer[64];
  int n = std::snprintf(buffer, sizeof buffer, "%02d%c%02d%c%04d", t.day, dateSep, t.month,
                        dateSep, t.year);
  if (t.hour != 0 || t.minute != 0 || t.second != 0) {
    std::snprintf(buffer + n, sizeof buffer - n, " %02d%c%02d%c%02d", t.hour, timeSep, t.minute,
                  timeSep, t.second);
  }
  return buffer;
}

std::optional<LocalTime> ParseDisplayDateTime(std::string_view text, char dateSep, char timeSep) {
  LocalTime t;
  if (!ReadNumber(text, 2, false, t.day) || !ReadChar(text, dateSep) ||
      !ReadNumber(text, 2, false, t.month) || !ReadChar(text, dateSep) ||
      !ReadNumber(text, 4, true, t.year)) {
    return std::nullopt;
  }
  if (!text.empty()) {
    if (!ReadChar(text, ' ') || !ReadNumber(text, 2, false, t.hour) ||
        !ReadChar(text, timeSep) || !ReadNumber(text, 2, false, t.minute)) {
      return std::nullopt;
    }
    if (!text.empty() && (!ReadChar(text, timeSep) || !ReadNumber(text, 2, false, t.second))) {
      return std::nullopt;
    }
    if (!text.empty()) return std::nullopt;
  }
  if (!IsValid(t)) return std::nullopt;
  return t;
}

namespace {

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar.
std::int64_t DaysSinceEpoch(int year, int month, int day) {
  const int y = month <= 2 ? year - 1 : year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

std::int64_t SecondsOf(const LocalTime& time) {
  return DaysSinceEpoch(time.year, time.month, time.day) * 86400 + time.hour * 3600 + time.minute * 60 + time.second;
}

}  // namespace

std::optional<std::int64_t> DosSecondsBetween(std::int32_t earlier, std::int32_t later) {
  const std::optional<LocalTime> from = UnpackDosDateTime(earlier);
  const std::optional<LocalTime> to = UnpackDosDateTime(later);
  if (!from || !to) return std::nullopt;
  return SecondsOf(*to) - SecondsOf(*from);
}

}  // namespace discovel
