#include "support/win32/TestHardDisk.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "support/win32/ExactFiles.h"
#include "support/win32/WineDrive.h"

namespace discovel::test {
namespace {

// The mount manager knows drives by their lower-case letters.
char Lower(char letter) { return static_cast<char>(letter - 'A' + 'a'); }

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

bool TestHardDisk::Available() {
  return !Environment("DISCOVEL_TEST_HD_UNIX").empty() && !Environment("DISCOVEL_TEST_HD_DIR").empty();
}

TestHardDisk::TestHardDisk() {
  if (!Available()) throw std::runtime_error("no test hard disk: run under tests/wine/wine-run");
  m_unixFolder = Environment("DISCOVEL_TEST_HD_UNIX");
  m_windowsFolder = Environment("DISCOVEL_TEST_HD_DIR");
  // A test that ended early may have left the volume at another letter.
  for (char letter = 'F'; letter <= 'Y'; ++letter) {
    if (WineDriveFolder(Lower(letter)) == m_unixFolder) RemoveWineDrive(Lower(letter));
  }
  RemoveTreeExactly(m_windowsFolder);
  CreateFoldersExactly(m_windowsFolder);
  SetVolume(kLabel, kSerial);
}

TestHardDisk::~TestHardDisk() {
  try {
    if (m_letter != kLetter && m_letter != '\0') RemoveWineDrive(Lower(m_letter));
    RemoveTreeExactly(m_windowsFolder);
    CreateFoldersExactly(m_windowsFolder);
    m_letter = kLetter;
    SetVolume(kLabel, kSerial);
  } catch (...) {
  }
}

void TestHardDisk::SetVolume(std::string_view label, std::uint32_t serial) {
  // Wine reads the label as a line of text and the serial as hexadecimal
  // digits, both from the root of the folder behind the drive.
  char digits[16];
  std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(serial));
  WriteFileExactly(m_windowsFolder + "\\.windows-label", std::string(label) + "\n");
  WriteFileExactly(m_windowsFolder + "\\.windows-serial", std::string(digits) + "\n");
  // Wine reads them once per definition of the drive: defined anew, it reads them again.
  if (m_letter != '\0') Define(m_letter);
}

void TestHardDisk::AddFile(std::string_view relative, std::string_view bytes) {
  WriteFileExactly(m_windowsFolder + "\\" + std::string(relative), bytes);
}

void TestHardDisk::AddFolder(std::string_view relative) {
  CreateFoldersExactly(m_windowsFolder + "\\" + std::string(relative));
}

void TestHardDisk::MoveTo(char letter) {
  if (m_letter != '\0') Remove();
  Define(letter);
}

void TestHardDisk::Remove() {
  if (m_letter == '\0') return;
  if (!RemoveWineDrive(Lower(m_letter))) throw std::runtime_error("cannot remove the test hard disk");
  m_letter = '\0';
}

void TestHardDisk::Define(char letter) {
  if (!DefineWineDrive(Lower(letter), m_unixFolder, kWineHardDisk)) {
    throw std::runtime_error("cannot define the test hard disk at " + std::string(1, letter) + ":");
  }
  m_letter = letter;
}

}  // namespace discovel::test
