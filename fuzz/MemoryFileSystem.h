#pragma once
// A file system held in memory, so a harness run touches no disk and leaves
// nothing behind. Paths are core paths with backslashes; names compare exactly.
// Masks follow the POSIX seam's wildcard rule, the one native builds use.
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace discovel::fuzz {

class MemoryFileSystem final : public FileSystem {
 public:
  // A block reader hands out at most this many bytes per call, so that
  // readers meet short reads.
  static constexpr std::size_t kBlockBytes = 4093;
  // No longer paths exist where the program runs (Linux's PATH_MAX; Windows'
  // A functions stop far sooner), so folders are never nested deeper.
  static constexpr std::size_t kMaxPath = 4096;

  // Stores a file, making its folders; false when the path is too long or a
  // part of it is already taken by an entry of the other kind.
  bool Put(const std::string& path, std::string bytes);

  std::string ReadWholeFile(const std::string& path) override;
  std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) override;
  std::unique_ptr<BlockReader> OpenForBlocks(const std::string& path) override;
  std::unique_ptr<RandomReader> OpenForReadingAt(const std::string& path) override;
  void WriteFileReplacing(const std::string& path, std::string_view bytes) override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolders(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override;

 private:
  const std::string& Contents(const std::string& path) const;

  std::map<std::string, std::string> m_files;
  std::set<std::string> m_folders;  // each with its trailing backslash
};

// `root` (ending with a backslash) joined with `name`, whose parts are
// separated by backslashes; empty, "." and ".." parts are dropped. "" when
// nothing is left.
std::string PathUnder(const std::string& root, std::string_view name);

}  // namespace discovel::fuzz
