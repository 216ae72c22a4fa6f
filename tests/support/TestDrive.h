#pragma once
// The CD-ROM drive D: of the test Wine prefix. D: shows the folder "disc" of
// the drive folder the harness made; without that folder the drive is empty.
#include <string>
#include <string_view>

namespace discovel::test {

class TestDrive {
 public:
  // Starts (and ends) with the drive empty.
  TestDrive();
  ~TestDrive();
  TestDrive(const TestDrive&) = delete;
  TestDrive& operator=(const TestDrive&) = delete;

  static constexpr char kLetter = 'D';
  static bool Available();  // false outside the test prefix

  // Puts an empty disc in the drive; fill it with AddFile/AddFolder.
  void InsertEmptyDisc();
  // Paths are relative to the disc's root, in UTF-8.
  void AddFile(std::string_view relative, std::string_view bytes);
  void AddFolder(std::string_view relative);
  void RemoveFile(std::string_view relative);
  // New contents under the file's old last-write time.
  void ReplaceKeepingTime(std::string_view relative, std::string_view bytes);
  void Eject();
  // The file's path in the folder behind the drive, for what a program
  // cannot do through the drive itself (setting a file's time).
  std::string BehindTheDrive(std::string_view relative) const;

 private:
  std::string m_discFolder;  // as Windows sees it
};

}  // namespace discovel::test
