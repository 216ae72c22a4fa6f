#pragma once
// The drive seam of the portable core: what the platform tells about drive
// letters. Root paths are a letter followed by ":\".
#include <cstdint>
#include <optional>
#include <string>

namespace discovel {

// The platform's drive type codes.
inline constexpr unsigned kDriveUnknown = 0;
inline constexpr unsigned kDriveNoRootDir = 1;
inline constexpr unsigned kDriveRemovable = 2;
inline constexpr unsigned kDriveFixed = 3;
inline constexpr unsigned kDriveRemote = 4;
inline constexpr unsigned kDriveCdRom = 5;
inline constexpr unsigned kDriveRamDisk = 6;

class DriveQueries {
 public:
  virtual ~DriveQueries() = default;
  // Bit 0 stands for A, bit 1 for B, and so on.
  virtual std::uint32_t LogicalDrives() = 0;
  // One of the codes above (or another value the platform invents).
  virtual unsigned DriveType(const std::string& rootPath) = 0;
  // Total bytes of the volume in drive `letter` (upper case), or nullopt when no
  // readable medium is there. Never brings up a system box asking for a disk.
  virtual std::optional<std::uint64_t> VolumeTotalSize(char letter) = 0;
};

}  // namespace discovel
