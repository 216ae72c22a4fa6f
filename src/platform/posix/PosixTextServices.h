#pragma once
// The text-services seam on POSIX: the en-US answers Windows gives for the
// Windows-1252 code page, so native runs match the program's default locale.
#include "platform/TextServices.h"

namespace discovel {

class PosixTextServices final : public TextServices {
 public:
  std::string ThousandsSeparator() const override { return ","; }
  char DateSeparator() const override { return '/'; }
  char TimeSeparator() const override { return ':'; }
  // ASCII and the letters of Windows-1252, as Windows upper-cases them.
  std::string ToUpper(std::string_view text) const override;
  std::string AnsiToUpper(std::string_view ansi) const override;
  bool IsSingleByteCodePage() const override { return true; }
  UpperTable BuildUpperTable() const override;
  void AppendAsUtf8(std::string_view ansi, std::string& out) const override;
  std::optional<std::string> ToCodePageExactly(std::string_view utf8) const override;
  // Without the system's look-alike tables every other character is "?".
  std::string ToCodePageAsAnsiFunctionsDo(std::string_view utf8) const override;
  LocalTime Now() const override;
};

}  // namespace discovel
