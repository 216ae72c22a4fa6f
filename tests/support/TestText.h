#pragma once
// The system's text services with the parts a test fixes: the clock, the
// separators, or a multi-byte code page whose byte table must never be used.
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace discovel::test {

class TestText final : public TextServices {
 public:
  std::string ThousandsSeparator() const override { return thousands ? *thousands : System().ThousandsSeparator(); }
  char DateSeparator() const override { return date ? *date : System().DateSeparator(); }
  char TimeSeparator() const override { return time ? *time : System().TimeSeparator(); }
  std::string ToUpper(std::string_view text) const override {
    ++upperCalls;
    return System().ToUpper(text);
  }
  std::string AnsiToUpper(std::string_view ansi) const override {
    ++upperCalls;
    return System().AnsiToUpper(ansi);
  }
  bool IsSingleByteCodePage() const override { return !multiByte; }
  UpperTable BuildUpperTable() const override {
    if (!multiByte) return System().BuildUpperTable();
    UpperTable wrong;
    wrong.fill('X');  // matches everything if ever used
    return wrong;
  }
  std::string CollationKey(std::string_view text) const override { return System().CollationKey(text); }
  void AppendAsUtf8(std::string_view ansi, std::string& out) const override { System().AppendAsUtf8(ansi, out); }
  std::optional<std::string> ToCodePageExactly(std::string_view utf8) const override {
    return System().ToCodePageExactly(utf8);
  }
  std::string ToCodePageAsAnsiFunctionsDo(std::string_view utf8) const override {
    return System().ToCodePageAsAnsiFunctionsDo(utf8);
  }
  LocalTime Now() const override { return now ? *now : System().Now(); }

  std::optional<LocalTime> now;
  // Set with emplace(): assigning a literal draws a false -Wrestrict from GCC 12.
  std::optional<std::string> thousands;
  std::optional<char> date;
  std::optional<char> time;
  bool multiByte = false;
  mutable int upperCalls = 0;

 private:
  static const TextServices& System() { return SystemTextServices(); }
};

}  // namespace discovel::test
