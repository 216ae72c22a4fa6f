#pragma once
// The file-system seam on POSIX, for native builds and tests. Core paths use
// backslashes; they are mapped to slashes here.
#include <string>
#include <string_view>

#include <ctime>

#include "platform/FileSystem.h"

namespace discovel {

// Seconds since the epoch as local time (a leap second stays in range).
LocalTime LocalTimeOf(std::time_t seconds, int millisecond);

class PosixFileSystem final : public FileSystem {
 public:
  std::string ReadWholeFile(const std::string& path) override;
  std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) override;
  std::unique_ptr<BlockReader> OpenForBlocks(const std::string& path) override;
  std::unique_ptr<RandomReader> OpenForReadingAt(const std::string& path) override;
  void WriteFileReplacing(const std::string& path, std::string_view bytes) override;
  std::unique_ptr<ReplacingWriter> OpenReplacing(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolders(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RenameFolder(const std::string& from, const std::string& to) override;
  bool RemoveFolder(const std::string& path) override;
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override;
  std::string ListFolderOrSayWhy(const std::string& folder, const std::string& mask,
                                 const std::function<bool(const DirEntry&)>& onEntry) override;
  std::optional<LocalTime> FileWriteTime(const std::string& path) override;
  std::optional<FolderId> FolderIdentity(const std::string& folder) override;
};

// Windows wildcard match: '*' any run, '?' one character, letter case aside;
// "*.*" matches every name, also one without a dot.
bool MatchesWildcard(std::string_view name, std::string_view mask);

// '\' to '/'.
std::string ToNativePath(std::string_view corePath);

}  // namespace discovel
