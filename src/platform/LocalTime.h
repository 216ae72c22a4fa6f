#pragma once
// A broken-down local date and time, as the file system and the clock report it.

namespace discovel {

struct LocalTime {
  int year = 0;
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
  int millisecond = 0;

  friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

}  // namespace discovel
