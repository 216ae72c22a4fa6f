#include "drives/win32/Win32DriveQueries.h"

#include <windows.h>

namespace discovel {

std::uint32_t Win32DriveQueries::LogicalDrives() { return GetLogicalDrives(); }

unsigned Win32DriveQueries::DriveType(const std::string& rootPath) { return GetDriveTypeA(rootPath.c_str()); }

std::optional<std::uint64_t> Win32DriveQueries::VolumeTotalSize(char letter) {
  const char root[] = {letter, ':', '\\', '\0'};
  // No "insert a disk" box for an empty drive: the program fails critical
  // errors quietly for its whole run (set once at start-up), since the error
  // mode is process-wide and switching it here would race other threads.
  ULARGE_INTEGER total{};
  if (!GetDiskFreeSpaceExA(root, nullptr, &total, nullptr)) return std::nullopt;
  return total.QuadPart;
}

DriveQueries& SystemDriveQueries() {
  static Win32DriveQueries queries;
  return queries;
}

}  // namespace discovel
