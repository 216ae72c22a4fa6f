#pragma once
// Texts of the values a list shows, as an exported CSV file holds them:
// numbers without grouping and dates always with their time, so that a
// spreadsheet reads them alike on every machine.
#include <cstdint>
#include <string>

#include "platform/LocalTime.h"

namespace discovel {

// Plain digits, with a minus sign when negative: "1234567".
std::string CsvNumber(std::int64_t value);
// "YYYY-MM-DD HH:MM:SS".
std::string CsvDateTime(const LocalTime& time);

}  // namespace discovel
