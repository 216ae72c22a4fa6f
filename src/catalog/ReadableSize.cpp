#include "catalog/ReadableSize.h"

#include "catalog/NumberFormat.h"

namespace discovel {

std::string ReadableSize(const CountTotal& bytes, std::string_view decimalSeparator,
                         std::string_view thousandsSeparator, SizeUnit largest) {
  static constexpr const char* kUnitNames[] = {"", "KB", "MB", "GB", "TB"};
  const int top = static_cast<int>(largest);
  if (bytes.ShiftedDown(10).IsZero()) {
    return GroupDigits(bytes.Digits(), thousandsSeparator) + (bytes == CountTotal(1) ? " byte" : " bytes");
  }
  int unit = 1;
  while (unit < top && !bytes.ShiftedDown(10 * (unit + 1)).IsZero()) ++unit;
  const auto bits = static_cast<unsigned>(10 * unit);
  CountTotal whole = bytes.ShiftedDown(bits);
  // Tenths of what is left over, rounded half up: below 2^44, no overflow.
  std::uint64_t tenths = (bytes.LowBits(bits) * 10 + (std::uint64_t{1} << (bits - 1))) >> bits;
  if (tenths == 10) {
    whole.Add(1);
    tenths = 0;
  }
  if (whole == CountTotal(1024) && unit < top) {
    ++unit;
    whole = CountTotal(1);
  }
  std::string text = GroupDigits(whole.Digits(), thousandsSeparator);
  text += decimalSeparator;
  text += static_cast<char>('0' + tenths);
  text += ' ';
  text += kUnitNames[unit];
  return text;
}

}  // namespace discovel
