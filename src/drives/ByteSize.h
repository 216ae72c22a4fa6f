#pragma once
// A size in bytes as people read it in a drive list.
#include <cstdint>
#include <string>

namespace discovel {

// ReadableSize up to TB, with a decimal point and no digit grouping:
// "1023 bytes", "1.5 KB", "931.5 GB".
std::string FormatByteSize(std::uint64_t bytes);

}  // namespace discovel
