#pragma once
// The hard disk E: of the test Wine prefix: its root is a folder of the
// prefix, filled by the test, with the label and serial number the test sets.
// The volume can move to another letter and go away, as a disk that is
// plugged in elsewhere or taken out.
#include <cstdint>
#include <string>
#include <string_view>

namespace discovel::test {

class TestHardDisk {
 public:
  static constexpr char kLetter = 'E';
  static constexpr const char* kLabel = "TESTDISK";
  static constexpr std::uint32_t kSerial = 0x1A2B3C4Du;

  // Starts empty at E: with kLabel and kSerial; ends the same way, at E:,
  // however the test left it. Throws std::runtime_error outside the prefix.
  TestHardDisk();
  ~TestHardDisk();
  TestHardDisk(const TestHardDisk&) = delete;
  TestHardDisk& operator=(const TestHardDisk&) = delete;

  static bool Available();  // false outside the test prefix

  // The volume's label and serial number, as GetVolumeInformation gives them.
  void SetVolume(std::string_view label, std::uint32_t serial);
  // Paths are relative to the disk's root, in UTF-8.
  void AddFile(std::string_view relative, std::string_view bytes);
  void AddFolder(std::string_view relative);
  // The volume at another letter; E: is gone then.
  void MoveTo(char letter);
  // The volume gone from its letter.
  void Remove();

  char Letter() const { return m_letter; }
  std::string Root() const { return std::string(1, m_letter) + ":\\"; }

 private:
  void Define(char letter);
  std::string m_unixFolder;     // as Wine's mount manager takes it
  std::string m_windowsFolder;  // the same folder through Z:
  char m_letter = kLetter;      // '\0' while removed
};

}  // namespace discovel::test
