#include "export/CsvFields.h"

#include <charconv>
#include <cstdio>

namespace discovel {

std::string CsvNumber(std::int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return std::string(digits, end);
}

std::string CsvDateTime(const LocalTime& time) {
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month,
                                   time.day, time.hour, time.minute, time.second);
  return std::string(text, static_cast<std::size_t>(length));
}

}  // namespace discovel
