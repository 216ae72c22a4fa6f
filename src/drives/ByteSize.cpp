#include "drives/ByteSize.h"

#include <array>

namespace discovel {

std::string FormatByteSize(std::uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static constexpr std::array<const char*, 4> kUnits = {"KB", "MB", "GB", "TB"};
  std::size_t unitIndex = 0;
  std::uint64_t unit = 1024;
  while (unitIndex + 1 < kUnits.size() && bytes >= unit * 1024) {
    unit *= 1024;
    ++unitIndex;
  }
  // Tenths of the unit, rounded half up; split so that no product overflows.
  std::uint64_t tenths = bytes / unit * 10 + ((bytes % unit) * 10 + unit / 2) / unit;
  if (tenths >= 10240 && unitIndex + 1 < kUnits.size()) {
    ++unitIndex;
    tenths = (tenths + 512) / 1024;
  }
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + kUnits[unitIndex];
}

}  // namespace discovel
