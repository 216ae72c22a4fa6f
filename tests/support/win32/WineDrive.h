#pragma once
// Wine-specific control of the test prefix's drives.
#include <gtest/gtest.h>

#include <string>

namespace discovel::test {

// Wine's drive types, as its mount manager takes them (those of GetDriveType).
inline constexpr unsigned long kWineHardDisk = 3;

// Defines the drive `letter` (lower case) on the Unix folder `unixFolder` as
// the mount manager does for winecfg: the dosdevices link and the drive's
// type in the registry follow.
::testing::AssertionResult DefineWineDrive(char letter, const std::string& unixFolder, unsigned long type);
// Removes the drive `letter`, its link and registry type too.
::testing::AssertionResult RemoveWineDrive(char letter);
// The Unix folder behind the drive `letter`; "" when there is no such drive.
std::string WineDriveFolder(char letter);

// Wine reads a disc's label (the file .windows-label of the disc folder) once
// per drive definition; this defines the drive again so the next query reads
// it anew.
::testing::AssertionResult RereadDriveLabel(char letter);

// Puts the Unix folder `unixFolder` in the CD-ROM drive `letter` for the
// guard's lifetime (the drive's own folder comes back afterwards). For discs a
// Windows program cannot make, such as one holding a link back to its root.
class DriveMountedAt {
 public:
  DriveMountedAt(char letter, const std::string& unixFolder);
  ~DriveMountedAt();
  DriveMountedAt(const DriveMountedAt&) = delete;
  DriveMountedAt& operator=(const DriveMountedAt&) = delete;
  const ::testing::AssertionResult& Mounted() const { return m_mounted; }

 private:
  char m_letter;
  std::string m_previous;
  unsigned long m_type = 0;
  ::testing::AssertionResult m_mounted = ::testing::AssertionFailure() << "the drive is unknown";
};

}  // namespace discovel::test
