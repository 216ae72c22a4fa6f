#pragma once
// A size in bytes as people read it: "512 bytes", "1.5 MB". Takes a total
// wider than 64 bits, so a folder tree's sums are shown as they are.
#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/CountTotal.h"

namespace discovel {

// Units of 1,024 each.
enum class SizeUnit { kKB = 1, kMB, kGB, kTB };

// "0 bytes", "1 byte", "512 bytes" below a KB; then the largest unit up to
// `largest` that keeps the number at 1 or more, with one decimal, rounded half
// up ("1.5 KB", "931.5 GB"); whole units grouped in threes. A value that
// rounds up to 1,024 of a unit is shown as 1.0 of the next one, when there is one.
std::string ReadableSize(const CountTotal& bytes, std::string_view decimalSeparator,
                         std::string_view thousandsSeparator, SizeUnit largest = SizeUnit::kGB);

}  // namespace discovel
