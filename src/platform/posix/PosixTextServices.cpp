#include "platform/posix/PosixTextServices.h"

#include "platform/posix/PosixFileSystem.h"

#include <sys/time.h>

#include <ctime>

namespace discovel {

UpperTable PosixTextServices::BuildUpperTable() const {
  UpperTable table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<unsigned char>(c - 0x20);
  // Windows-1252: accented lower-case letters sit 0x20 above their capitals,
  // except the division sign 0xF7; four letters have capitals elsewhere.
  for (int c = 0xE0; c <= 0xFE; ++c) {
    if (c != 0xF7) table[c] = static_cast<unsigned char>(c - 0x20);
  }
  table[0x9A] = 0x8A;  // s caron
  table[0x9C] = 0x8C;  // oe
  table[0x9E] = 0x8E;  // z caron
  table[0xFF] = 0x9F;  // y diaeresis
  return table;
}

std::string PosixTextServices::ToUpper(std::string_view text) const {
  static const UpperTable table = BuildUpperTable();
  std::string result(text);
  for (char& c : result) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  return result;
}

LocalTime PosixTextServices::Now() const {
  timeval now{};
  gettimeofday(&now, nullptr);
  return LocalTimeOf(now.tv_sec, static_cast<int>(now.tv_usec / 1000));
}

LocalTime LocalTimeOf(std::time_t seconds, int millisecond) {
  std::tm tm{};
  localtime_r(&seconds, &tm);
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  t.millisecond = millisecond;
  return t;
}

}  // namespace discovel
