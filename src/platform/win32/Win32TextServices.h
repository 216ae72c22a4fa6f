#pragma once
#include "platform/TextServices.h"

namespace discovel {

// Answers from the user's regional settings and the ANSI code page, asked anew
// on every call so a change in the control panel shows at once.
class Win32TextServices final : public TextServices {
 public:
  std::string ThousandsSeparator() const override;
  std::string DecimalSeparator() const override;
  char DateSeparator() const override;
  char TimeSeparator() const override;
  std::string ToUpper(std::string_view text) const override;
  std::string AnsiToUpper(std::string_view ansi) const override;
  bool IsSingleByteCodePage() const override;
  UpperTable BuildUpperTable() const override;
  std::string CollationKey(std::string_view text) const override;
  const PrimaryWeightTable* PrimaryWeights() const override;
  void AppendAsUtf8(std::string_view ansi, std::string& out) const override;
  std::optional<std::string> ToCodePageExactly(std::string_view utf8) const override;
  std::string ToCodePageAsAnsiFunctionsDo(std::string_view utf8) const override;
  LocalTime Now() const override;
};

}  // namespace discovel
