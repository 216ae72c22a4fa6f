#pragma once
// MS-DOS packed date/time, as archives store file times and ADate, and the
// display form the catalogue and search windows show.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LocalTime.h"

namespace discovel {

// Date word in the high 16 bits, time word in the low 16 (seconds halved).
// 0 when the year lies outside 1980..2107.
std::int32_t PackDosDateTime(const LocalTime& time);

// nullopt when the fields do not form a real date and time.
std::optional<LocalTime> UnpackDosDateTime(std::int32_t packed);

// "dd/mm/yyyy hh:mm:ss" with the given separators; the blank and the time are
// left out when the time is exactly midnight.
std::string FormatDisplayDateTime(const LocalTime& time, char dateSep, char timeSep);

// Reads FormatDisplayDateTime's text back; a date alone means midnight and the
// seconds may be left out.
std::optional<LocalTime> ParseDisplayDateTime(std::string_view text, char dateSep, char timeSep);

int DaysInMonth(int year, int month);

// Seconds from `earlier` to `later`, two packed times; nullopt when either is
// no real date and time.
std::optional<std::int64_t> DosSecondsBetween(std::int32_t earlier, std::int32_t later);

}  // namespace discovel
