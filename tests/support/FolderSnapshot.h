#pragma once
// Every file below a folder with its bytes, for tests that check what an
// operation changed on disk (or that it changed nothing).
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

#include "support/TempFolder.h"

namespace discovel::test {

// Relative paths with backslashes; empty when the folder does not exist.
inline std::map<std::string, std::string> FolderSnapshot(std::string_view corePath) {
  std::map<std::string, std::string> files;
  const std::filesystem::path root = NativePath(corePath);
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    std::string relative = std::filesystem::relative(it->path(), root).string();
    for (char& c : relative) {
      if (c == '/') c = '\\';
    }
    std::ifstream in(it->path(), std::ios::binary);
    files[relative].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

// The archives alone: the hidden summary of their key blocks left out.
inline std::map<std::string, std::string> ArchivesSnapshot(std::string_view corePath) {
  auto files = FolderSnapshot(corePath);
  std::erase_if(files, [](const auto& file) { return !file.first.ends_with(".dat"); });
  return files;
}

}  // namespace discovel::test
