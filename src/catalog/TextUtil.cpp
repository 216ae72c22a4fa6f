#include "catalog/TextUtil.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace discovel {
namespace {

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

unsigned char FoldAscii(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 0x20) : u;
}

}  // namespace

std::string_view TrimBlanksAndControls(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view MarkAsListed(std::string_view stored) {
  const std::string_view mark = TrimBlanksAndControls(stored);
  return mark.empty() ? std::string_view("Unknown") : mark;
}

std::string IncludeTrailingBackslash(std::string_view path) {
  std::string result(path);
  if (!result.empty() && result.back() != '\\') result += '\\';
  return result;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

std::optional<std::int64_t> ParseInt64(std::string_view text) {
  // from_chars takes '-' but not '+'; either sign must be followed by a digit.
  std::size_t firstDigit = 0;
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
  } else if (!text.empty() && text.front() == '-') {
    firstDigit = 1;
  }
  if (text.size() <= firstDigit || text[firstDigit] < '0' || text[firstDigit] > '9') {
    return std::nullopt;
  }
  // Up to 18 digits cannot overflow: the usual size or time line is read
  // without from_chars, whose 64-bit steps are slow on 32-bit processors.
  if (firstDigit == 0 && text.size() <= 18) {
    // Nine digits fit 32 bits: a size is read in 32-bit steps, a time's
    // tenth digit alone in 64.
    const std::size_t head = std::min<std::size_t>(text.size(), 9);
    std::uint32_t low = 0;
    for (std::size_t i = 0; i < head; ++i) {
      const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
      if (digit > 9) return std::nullopt;
      low = low * 10 + digit;
    }
    std::int64_t value = low;
    for (std::size_t i = head; i < text.size(); ++i) {
      const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
      if (digit > 9) return std::nullopt;
      value = value * 10 + digit;
    }
    return value;
  }
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, 10);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  const auto value = ParseInt64(text);
  if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
      *value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

}  // namespace discovel
