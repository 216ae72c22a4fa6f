#include "drives/VolumeArrival.h"

namespace discovel {

std::string VolumeArrivalLetter(std::uint32_t unitMask, std::uint16_t flags) {
  if ((flags & kVolumeFlagMedia) == 0) return {};
  std::string letter;
  for (int bit = 0; bit < 26; ++bit) {
    if (unitMask & (std::uint32_t{1} << bit)) letter = {static_cast<char>('A' + bit), ':'};
  }
  return letter;
}

}  // namespace discovel
