#pragma once
// The texts of the About box that need no window.
#include <cstdint>
#include <string>
#include <string_view>

namespace discovel {

// "2005", or "2005-2026" once the current year is later.
std::string YearSpan(int firstYear, int currentYear);

// "v" and the four parts of a file version (the high and low halves of its
// most, then least significant 32 bits), joined by ".".
std::string FileVersionText(std::uint32_t versionMs, std::uint32_t versionLs);

// Physical memory in whole KB, grouped with the locale's separator: "2,097,152 KB".
std::string MemoryText(std::uint64_t totalBytes, std::string_view thousandsSeparator);

// The memory load as "42 %".
std::string MemoryLoadText(unsigned percent);

}  // namespace discovel
