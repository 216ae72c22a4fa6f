#pragma once
// A fresh folder for one test, removed with everything in it at the end.
// Paths are UTF-8; under Windows every name is made as it is spelt (a
// trailing dot or blank, any script, past 260 characters).
#include <filesystem>
#include <string>
#include <string_view>

namespace discovel::test {

// A core path (UTF-8, backslashes) as the host's file system library takes it.
std::filesystem::path NativePath(std::string_view corePath);

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder as the program writes paths: backslash-separated, ending with one.
  const std::string& Path() const { return m_path; }
  // Path() + relative (relative uses backslashes).
  std::string operator/(std::string_view relative) const;

  // Writes a file (creating its folders) with exactly these bytes.
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  std::string ReadFile(std::string_view relative) const;
  void MakeFolder(std::string_view relative) const;

 private:
  std::string m_path;
};

}  // namespace discovel::test
