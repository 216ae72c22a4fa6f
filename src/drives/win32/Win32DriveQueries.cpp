#include "drives/win32/Win32DriveQueries.h"

#include <windows.h>

namespace discovel {
namespace {

// An empty drive must not bring up the system's "insert a disk" box; the old
// mode comes back however the query ends.
class CriticalErrorsFail {
 public:
  CriticalErrorsFail() : m_oldMode(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~CriticalErrorsFail() { SetErrorMode(m_oldMode); }
  CriticalErrorsFail(const CriticalErrorsFail&) = delete;
  CriticalErrorsFail& operator=(const CriticalErrorsFail&) = delete;

 private:
  UINT m_oldMode;
};

}  // namespace

std::uint32_t Win32DriveQueries::LogicalDrives() { return GetLogicalDrives(); }

unsigned Win32DriveQueries::DriveType(const std::string& rootPath) { return GetDriveTypeA(rootPath.c_str()); }

std::optional<std::uint64_t> Win32DriveQueries::VolumeTotalSize(char letter) {
  const char root[] = {letter, ':', '\\', '\0'};
  const CriticalErrorsFail quiet;
  ULARGE_INTEGER total{};
  if (!GetDiskFreeSpaceExA(root, nullptr, &total, nullptr)) return std::nullopt;
  return total.QuadPart;
}

DriveQueries& SystemDriveQueries() {
  static Win32DriveQueries queries;
  return queries;
}

}  // namespace discovel
