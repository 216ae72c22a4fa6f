#pragma once
#include "platform/FileSystem.h"

namespace discovel {

class Win32FileSystem final : public FileSystem {
 public:
  std::string ReadWholeFile(const std::string& path) override;
  std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) override;
  std::unique_ptr<BlockReader> OpenForBlocks(const std::string& path) override;
  std::unique_ptr<RandomReader> OpenForReadingAt(const std::string& path) override;
  void WriteFileReplacing(const std::string& path, std::string_view bytes) override;
  void WriteHiddenFileReplacing(const std::string& path, std::string_view bytes) override;
  std::unique_ptr<ReplacingWriter> OpenReplacing(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolders(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RenameFolder(const std::string& from, const std::string& to) override;
  bool RemoveFolder(const std::string& path) override;
  bool RemoveFileWhateverItsAttributes(const std::string& path) override;
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override;
  std::string ListFolderOrSayWhy(const std::string& folder, const std::string& mask,
                                 const std::function<bool(const DirEntry&)>& onEntry) override;
  std::optional<LocalTime> FileWriteTime(const std::string& path) override;
  std::optional<FolderId> FolderIdentity(const std::string& folder) override;

 private:
  // `attributes` are CreateFileW's flags for the new file.
  void WriteReplacing(const std::string& path, std::string_view bytes, unsigned long attributes);
};

}  // namespace discovel
