#include "drives/win32/MountedVolumes.h"

#include <windows.h>

#include "drives/ChosenSource.h"
#include "platform/AppError.h"
#include "platform/win32/QuietCriticalErrors.h"
#include "platform/win32/SystemPath.h"
#include "platform/win32/WideText.h"

namespace discovel {
namespace {

// The root's label, file system, serial and sizes, as far as the medium
// answers. `root` ends in a backslash, as both calls want it (a share's too).
void ReadVolume(const std::wstring& root, MountedVolume& volume) {
  // MAX_PATH + 1 is the longest either name can be.
  wchar_t label[MAX_PATH + 1] = {};
  wchar_t fileSystem[MAX_PATH + 1] = {};
  DWORD serial = 0;
  if (GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, nullptr, nullptr, fileSystem,
                            MAX_PATH + 1)) {
    volume.label = Utf8(label);
    volume.fileSystem = Utf8(fileSystem);
    volume.serial = serial;
  }
  // The volume's own total and free bytes, not what a quota leaves the user.
  ULARGE_INTEGER total{};
  ULARGE_INTEGER free{};
  if (GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, &free)) {
    volume.totalBytes = total.QuadPart;
    volume.freeBytes = free.QuadPart;
  }
}

}  // namespace

MountedVolume VolumeAt(const std::string& root) {
  const QuietCriticalErrors quiet;
  MountedVolume volume;
  volume.root = root;
  const std::wstring wide = Wide(root);
  volume.driveType = GetDriveTypeW(wide.c_str());
  // A CD/DVD drive is left out of the rows: its disc is not asked for.
  if (volume.driveType != DRIVE_CDROM && volume.driveType != DRIVE_NO_ROOT_DIR) ReadVolume(wide, volume);
  return volume;
}

std::vector<MountedVolume> ListMountedVolumes() {
  std::wstring roots(128, L'\0');
  for (;;) {
    // The length given leaves out the list's last NUL.
    const DWORD room = static_cast<DWORD>(roots.size() - 1);
    const DWORD length = GetLogicalDriveStringsW(room, roots.data());
    if (length == 0) return {};
    // Too small a buffer answers the length it needs.
    if (length <= room) {
      roots.resize(length);
      break;
    }
    roots.assign(length + 1, L'\0');
  }
  const QuietCriticalErrors quiet;
  std::vector<MountedVolume> volumes;
  for (std::size_t start = 0; start < roots.size();) {
    const std::size_t end = roots.find(L'\0', start);
    const std::wstring root = roots.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    start = end == std::wstring::npos ? roots.size() : end + 1;
    if (!root.empty()) volumes.push_back(VolumeAt(Utf8(root)));
  }
  return volumes;
}

MountedVolume VolumeHoldingFolder(const std::string& folder) {
  const std::wstring path = SystemPath(folder);
  // The root is never longer than the path it holds, less a backslash more.
  std::wstring root(path.size() + 2, L'\0');
  const QuietCriticalErrors quiet;
  if (!GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size()))) {
    throw AppError("Cannot find the drive that holds \"" + folder + "\".");
  }
  root.resize(root.find(L'\0'));
  MountedVolume volume;
  volume.root = PlainVolumeRoot(Utf8(root));
  if (!IsOnVolume(folder, volume.root)) throw AppError("Cannot find the drive that holds \"" + folder + "\".");
  const std::wstring plainRoot = Wide(volume.root);
  volume.driveType = GetDriveTypeW(plainRoot.c_str());
  ReadVolume(plainRoot, volume);
  if (!volume.serial) throw AppError("Cannot read the drive that holds \"" + folder + "\".");
  return volume;
}

}  // namespace discovel
