#include "support/win32/WineDrive.h"

#include <windows.h>
#include <winioctl.h>

#include <string>
#include <vector>

namespace discovel::test {
namespace {

// Wine's mount manager extension, as winecfg uses it (Wine 8 layout).
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
constexpr DWORD kQueryUnixDrive = CTL_CODE('m', 33, METHOD_BUFFERED, FILE_READ_ACCESS);
struct UnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};

}  // namespace

// Wine reads a disc's label once per drive definition. Defining the drive again
// with its own mount point and type makes the next query read the label anew.
::testing::AssertionResult RereadDriveLabel(char letter) {
  HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return ::testing::AssertionFailure() << "no mount manager";
  UnixDrive query{};
  query.size = sizeof query;
  query.letter = static_cast<WCHAR>(letter);
  std::vector<char> answer(4096);
  DWORD got = 0;
  const BOOL known = DeviceIoControl(manager, kQueryUnixDrive, &query, sizeof query, answer.data(),
                                     static_cast<DWORD>(answer.size()), &got, nullptr);
  const auto* current = reinterpret_cast<const UnixDrive*>(answer.data());
  if (!known || got < sizeof(UnixDrive) || current->mountPointOffset == 0) {
    CloseHandle(manager);
    return ::testing::AssertionFailure() << "cannot query the drive " << letter << ": " << GetLastError();
  }
  const std::string mountPoint(answer.data() + current->mountPointOffset);

  std::vector<char> request(sizeof(UnixDrive) + mountPoint.size() + 1);
  auto* define = reinterpret_cast<UnixDrive*>(request.data());
  define->size = static_cast<ULONG>(request.size());
  define->type = current->type;
  define->letter = static_cast<WCHAR>(letter);
  define->mountPointOffset = sizeof(UnixDrive);
  mountPoint.copy(request.data() + sizeof(UnixDrive), mountPoint.size());
  const BOOL defined = DeviceIoControl(manager, kDefineUnixDrive, request.data(),
                                       static_cast<DWORD>(request.size()), nullptr, 0, &got, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(manager);
  if (!defined) return ::testing::AssertionFailure() << "cannot define the drive again: " << error;
  return ::testing::AssertionSuccess();
}


}  // namespace discovel::test
