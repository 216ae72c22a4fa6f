#include "platform/win32/SystemPath.h"

#include <windows.h>

#include "platform/ExtendedPath.h"
#include "platform/win32/WideText.h"

namespace discovel {
namespace {

// The folder a relative path starts from; "" when the system cannot say.
// The current folder is the process's: a relative path is only as good as
// the moment it is resolved, which is why the program itself uses none.
std::string CurrentFolder() {
  std::wstring folder;
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  while (size > 0) {
    folder.resize(size);
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    if (length < size) {
      folder.resize(length);
      return Utf8(folder);
    }
    size = length;  // changed in between: larger now
  }
  return {};
}

// "C:x" is relative to the current folder of drive C:, which the system
// keeps apart from the process's own. "C:" alone holds no name to alter.
std::string CurrentFolderOfDrive(char letter) {
  const wchar_t drive[] = {static_cast<wchar_t>(letter), L':', L'\0'};
  std::wstring folder;
  DWORD size = GetFullPathNameW(drive, 0, nullptr, nullptr);
  while (size > 0) {
    folder.resize(size);
    const DWORD length = GetFullPathNameW(drive, size, folder.data(), nullptr);
    if (length < size) {
      folder.resize(length);
      return Utf8(folder);
    }
    size = length;
  }
  return {};
}

}  // namespace

std::string ExtendedPathOf(std::string_view path) {
  std::string base;
  switch (StartOf(path)) {
    case PathStart::kDriveRelative:
      base = CurrentFolderOfDrive(path[0]);
      break;
    case PathStart::kRooted:
    case PathStart::kRelative:
      base = CurrentFolder();
      break;
    default:
      break;
  }
  return ExtendedLengthPath(path, base);
}

std::wstring SystemPath(std::string_view path) { return Wide(ExtendedPathOf(path)); }

}  // namespace discovel
