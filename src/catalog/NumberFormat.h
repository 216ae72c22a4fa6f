#pragma once
// The number formatter of the catalogue and search windows: whole counts
// grouped in threes with the locale's thousands separator.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace discovel {

// "0" for zero; otherwise the digits grouped in threes, "-" first when negative.
std::string FormatCount(std::int64_t value, std::string_view thousandsSeparator);

// Plain decimal digits (no sign) grouped in threes, for sums wider than 64 bits.
std::string GroupDigits(std::string_view digits, std::string_view thousandsSeparator);

// Reads FormatCount's text back: every separator removed, the rest a signed
// 64-bit decimal. An empty separator removes nothing.
std::optional<std::int64_t> ParseFormattedCount(std::string_view text,
                                                std::string_view thousandsSeparator);

}  // namespace discovel
