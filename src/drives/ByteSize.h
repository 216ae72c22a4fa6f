#pragma once
// A size in bytes as people read it in a drive list.
#include <cstdint>
#include <string>

namespace discovel {

// "0 bytes", "1 byte", "512 bytes" below a KB; then the largest of KB, MB, GB
// and TB (of 1,024 each) that keeps the number at 1 or more, with one decimal
// ("1.5 KB", "931.5 GB"). A value that rounds up to 1,024 of a unit is
// shown as 1.0 of the next one.
std::string FormatByteSize(std::uint64_t bytes);

}  // namespace discovel
