#include "drives/win32/Win32DriveQueries.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace discovel {

std::uint32_t Win32DriveQueries::LogicalDrives() { return GetLogicalDrives(); }

// A root path ("D:\") needs no extended form: it is short and holds no name.
unsigned Win32DriveQueries::DriveType(const std::string& rootPath) { return GetDriveTypeW(Wide(rootPath).c_str()); }

std::optional<std::uint64_t> Win32DriveQueries::VolumeTotalSize(char letter) {
  const wchar_t root[] = {static_cast<wchar_t>(static_cast<unsigned char>(letter)), L':', L'\\', L'\0'};
  // No "insert a disk" box for an empty drive: the program fails critical
  // errors quietly for its whole run (set once at start-up), since the error
  // mode is process-wide and switching it here would race other threads.
  ULARGE_INTEGER total{};
  if (!GetDiskFreeSpaceExW(root, nullptr, &total, nullptr)) return std::nullopt;
  return total.QuadPart;
}

DriveQueries& SystemDriveQueries() {
  static Win32DriveQueries queries;
  return queries;
}

}  // namespace discovel
