#include "support/win32/WineDrive.h"

#include <windows.h>
#include <winioctl.h>

#include <optional>
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

HANDLE OpenMountManager() {
  return CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

struct DriveDefinition {
  std::string mountPoint;  // the Unix folder behind the drive
  ULONG type;
};

std::optional<DriveDefinition> DefinitionOf(HANDLE manager, char letter) {
  UnixDrive query{};
  query.size = sizeof query;
  query.letter = static_cast<WCHAR>(letter);
  std::vector<char> answer(4096);
  DWORD got = 0;
  const BOOL known = DeviceIoControl(manager, kQueryUnixDrive, &query, sizeof query, answer.data(),
                                     static_cast<DWORD>(answer.size()), &got, nullptr);
  const auto* current = reinterpret_cast<const UnixDrive*>(answer.data());
  if (!known || got < sizeof(UnixDrive) || current->mountPointOffset == 0) return std::nullopt;
  return DriveDefinition{answer.data() + current->mountPointOffset, current->type};
}

// Defines the drive `letter` on a Unix folder, as winecfg does.
::testing::AssertionResult DefineDrive(char letter, const DriveDefinition& definition) {
  const std::string& mountPoint = definition.mountPoint;
  HANDLE manager = OpenMountManager();
  if (manager == INVALID_HANDLE_VALUE) return ::testing::AssertionFailure() << "no mount manager";
  std::vector<char> request(sizeof(UnixDrive) + mountPoint.size() + 1);
  auto* define = reinterpret_cast<UnixDrive*>(request.data());
  define->size = static_cast<ULONG>(request.size());
  define->type = definition.type;
  define->letter = static_cast<WCHAR>(letter);
  define->mountPointOffset = sizeof(UnixDrive);
  mountPoint.copy(request.data() + sizeof(UnixDrive), mountPoint.size());
  DWORD got = 0;
  const BOOL defined = DeviceIoControl(manager, kDefineUnixDrive, request.data(),
                                       static_cast<DWORD>(request.size()), nullptr, 0, &got, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(manager);
  if (!defined) return ::testing::AssertionFailure() << "cannot define the drive " << letter << ": " << error;
  return ::testing::AssertionSuccess();
}

std::optional<DriveDefinition> DefinitionOf(char letter) {
  HANDLE manager = OpenMountManager();
  if (manager == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<DriveDefinition> definition = DefinitionOf(manager, letter);
  CloseHandle(manager);
  return definition;
}

}  // namespace

::testing::AssertionResult DefineWineDrive(char letter, const std::string& unixFolder, unsigned long type) {
  return DefineDrive(letter, {unixFolder, type});
}

// A drive defined as one without a root is removed.
::testing::AssertionResult RemoveWineDrive(char letter) {
  HANDLE manager = OpenMountManager();
  if (manager == INVALID_HANDLE_VALUE) return ::testing::AssertionFailure() << "no mount manager";
  UnixDrive remove{};
  remove.size = sizeof remove;
  remove.type = DRIVE_NO_ROOT_DIR;
  remove.letter = static_cast<WCHAR>(letter);
  DWORD got = 0;
  const BOOL removed = DeviceIoControl(manager, kDefineUnixDrive, &remove, sizeof remove, nullptr, 0, &got, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(manager);
  if (!removed) return ::testing::AssertionFailure() << "cannot remove the drive " << letter << ": " << error;
  return ::testing::AssertionSuccess();
}

std::string WineDriveFolder(char letter) {
  const std::optional<DriveDefinition> definition = DefinitionOf(letter);
  return definition ? definition->mountPoint : std::string();
}

// Wine reads a disc's label once per drive definition. Defining the drive again
// with its own mount point makes the next query read the label anew.
::testing::AssertionResult RereadDriveLabel(char letter) {
  const std::optional<DriveDefinition> definition = DefinitionOf(letter);
  if (!definition) return ::testing::AssertionFailure() << "cannot query the drive " << letter;
  return DefineDrive(letter, *definition);
}

DriveMountedAt::DriveMountedAt(char letter, const std::string& unixFolder) : m_letter(letter) {
  if (std::optional<DriveDefinition> previous = DefinitionOf(letter)) {
    m_previous = previous->mountPoint;
    m_type = previous->type;
    m_mounted = DefineDrive(letter, {unixFolder, m_type});
  }
}

DriveMountedAt::~DriveMountedAt() {
  if (m_mounted) DefineDrive(m_letter, {m_previous, m_type});
}

}  // namespace discovel::test
