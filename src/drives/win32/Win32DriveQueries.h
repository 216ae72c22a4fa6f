#pragma once
#include "drives/DriveQueries.h"

namespace discovel {

class Win32DriveQueries final : public DriveQueries {
 public:
  std::uint32_t LogicalDrives() override;
  unsigned DriveType(const std::string& rootPath) override;
  std::optional<std::uint64_t> VolumeTotalSize(char letter) override;
};

// The drives of this machine.
DriveQueries& SystemDriveQueries();

}  // namespace discovel
