#pragma once
// The drive a volume arrival notice is about.
#include <cstdint>
#include <string>

namespace discovel {

// DBTF_MEDIA: the notice is about a medium, not a new drive.
inline constexpr std::uint16_t kVolumeFlagMedia = 1;

// "X:" for the highest of drive bits 0..25 set in the unit mask, when the
// flags say a medium arrived; otherwise empty.
std::string VolumeArrivalLetter(std::uint32_t unitMask, std::uint16_t flags);

}  // namespace discovel
