#pragma once
// A file system that hands every call on to the real one; tests derive from
// it and change only the calls they probe.
#include "platform/Platform.h"

namespace discovel::test {

class ForwardingFileSystem : public FileSystem {
 public:
  std::string ReadWholeFile(const std::string& path) override { return m_fs.ReadWholeFile(path); }
  std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) override {
    return m_fs.ReadTail(path, maxBytes, wholeFile);
  }
  std::unique_ptr<BlockReader> OpenForBlocks(const std::string& path) override { return m_fs.OpenForBlocks(path); }
  std::unique_ptr<RandomReader> OpenForReadingAt(const std::string& path) override {
    return m_fs.OpenForReadingAt(path);
  }
  void WriteFileReplacing(const std::string& path, std::string_view bytes) override {
    m_fs.WriteFileReplacing(path, bytes);
  }
  void WriteHiddenFileReplacing(const std::string& path, std::string_view bytes) override {
    m_fs.WriteHiddenFileReplacing(path, bytes);
  }
  std::unique_ptr<ReplacingWriter> OpenReplacing(const std::string& path) override {
    return m_fs.OpenReplacing(path);
  }
  bool FileExists(const std::string& path) override { return m_fs.FileExists(path); }
  bool FolderExists(const std::string& path) override { return m_fs.FolderExists(path); }
  bool CreateFolders(const std::string& path) override { return m_fs.CreateFolders(path); }
  bool RemoveFile(const std::string& path) override { return m_fs.RemoveFile(path); }
  bool RemoveFileWhateverItsAttributes(const std::string& path) override {
    return m_fs.RemoveFileWhateverItsAttributes(path);
  }
  bool RenameFolder(const std::string& from, const std::string& to) override { return m_fs.RenameFolder(from, to); }
  bool RemoveFolder(const std::string& path) override { return m_fs.RemoveFolder(path); }
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override {
    m_fs.ListFolder(folder, mask, onEntry);
  }
  std::optional<LocalTime> FileWriteTime(const std::string& path) override { return m_fs.FileWriteTime(path); }
  std::optional<FolderId> FolderIdentity(const std::string& folder) override {
    return m_fs.FolderIdentity(folder);
  }

 protected:
  FileSystem& m_fs = SystemFileSystem();
};

}  // namespace discovel::test
