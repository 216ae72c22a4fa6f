#include "platform/posix/PosixTextServices.h"

#include "platform/posix/PosixFileSystem.h"

#include <sys/time.h>

#include <ctime>

#include "text/Utf8.h"

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

namespace {

// Windows-1252's 0x80..0x9F; the five bytes it leaves undefined keep their
// Latin-1 code point (a C1 control), as Windows itself converts them. Every
// other byte 0xA0..0xFF is its own Latin-1 code point.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodeOfByte(unsigned char byte) { return byte < 0x80 || byte >= 0xA0 ? byte : kHigh[byte - 0x80]; }

std::optional<char> ByteOfCode(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == code) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

void PosixTextServices::AppendAsUtf8(std::string_view ansi, std::string& out) const {
  out.reserve(out.size() + ansi.size() + ansi.size() / 4);
  for (const char c : ansi) utf8::Append(CodeOfByte(static_cast<unsigned char>(c)), out);
}

std::optional<std::string> PosixTextServices::ToCodePageExactly(std::string_view utf8) const {
  std::string bytes;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const utf8::Decoded decoded = utf8::DecodeAt(utf8, i);
    // Bytes that are no UTF-8 have no characters to convert.
    if (decoded.code == utf8::kReplacement && decoded.length == 1) return std::nullopt;
    const std::optional<char> byte = ByteOfCode(decoded.code);
    if (!byte) return std::nullopt;
    bytes += *byte;
    i += decoded.length;
  }
  return bytes;
}

std::string PosixTextServices::ToCodePageAsAnsiFunctionsDo(std::string_view utf8) const {
  std::string bytes;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const utf8::Decoded decoded = utf8::DecodeAt(utf8, i);
    // A code point beyond the first plane is two UTF-16 units, each a "?".
    if (decoded.code >= 0x10000) bytes += '?';
    bytes += ByteOfCode(decoded.code).value_or('?');
    i += decoded.length;
  }
  return bytes;
}

namespace {

// The capital of a letter both of whose cases Windows-1252 holds, as
// Windows gives them; any other code point is its own.
char32_t UpperOf(char32_t code) {
  if (code >= 'a' && code <= 'z') return code - 0x20;
  if (code >= 0xE0 && code <= 0xFE && code != 0xF7) return code - 0x20;
  switch (code) {
    case 0x0161: return 0x0160;  // s caron
    case 0x0153: return 0x0152;  // oe
    case 0x017E: return 0x017D;  // z caron
    case 0x00FF: return 0x0178;  // y diaeresis
    default: return code;
  }
}

}  // namespace

std::string PosixTextServices::ToUpper(std::string_view text) const {
  std::string upper;
  upper.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const utf8::Decoded decoded = utf8::DecodeAt(text, i);
    if (decoded.code == utf8::kReplacement && decoded.length == 1) {
      upper += text[i];  // no UTF-8: kept as it is
    } else if (decoded.code < 0x80) {
      upper += static_cast<char>(UpperOf(decoded.code));
    } else {
      utf8::Append(UpperOf(decoded.code), upper);
    }
    i += decoded.length;
  }
  return upper;
}

std::string PosixTextServices::AnsiToUpper(std::string_view ansi) const {
  static const UpperTable table = BuildUpperTable();
  std::string result(ansi);
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
