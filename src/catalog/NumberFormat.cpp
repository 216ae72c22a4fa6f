#include "catalog/NumberFormat.h"

#include "catalog/TextUtil.h"

namespace discovel {

std::string FormatCount(std::int64_t value, std::string_view thousandsSeparator) {
  // Unsigned magnitude so that INT64_MIN negates without overflow.
  std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);

  // The sign is appended rather than put before the text: "-" + text draws
  // a false -Wrestrict from GCC 12.
  std::string text = value < 0 ? "-" : "";
  text += GroupDigits(digits, thousandsSeparator);
  return text;
}

std::string GroupDigits(std::string_view digits, std::string_view thousandsSeparator) {
  std::string result;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) result += thousandsSeparator;
    result += digits[i];
  }
  return result;
}

std::optional<std::int64_t> ParseFormattedCount(std::string_view text,
                                                std::string_view thousandsSeparator) {
  if (thousandsSeparator.empty()) return ParseInt64(text);
  // Sorting reads a million of these: no allocation for the usual lengths.
  char buffer[64];
  std::string longer;
  std::size_t length = 0;
  while (!text.empty()) {
    if (text.substr(0, thousandsSeparator.size()) == thousandsSeparator) {
      text.remove_prefix(thousandsSeparator.size());
      continue;
    }
    if (length < sizeof buffer) {
      buffer[length] = text.front();
    } else {
      if (longer.empty()) longer.assign(buffer, length);
      longer += text.front();
    }
    ++length;
    text.remove_prefix(1);
  }
  return ParseInt64(longer.empty() ? std::string_view(buffer, length) : std::string_view(longer));
}

}  // namespace discovel
