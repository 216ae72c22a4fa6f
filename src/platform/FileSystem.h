#pragma once
// The file-system seam of the portable core. Paths are Windows paths of the
// system code page ("C:\Prog\Archive\1.dat"); the POSIX implementation maps
// backslashes to slashes so the core runs and is tested natively too.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LocalTime.h"

namespace discovel {

struct DirEntry {
  std::string name;  // no path
  bool isFolder = false;
  std::uint64_t size = 0;
  LocalTime lastWrite;  // local time, with the offset in force at that moment
  // The same moment with the offset in force now, as versions of the program
  // before it took the offset of the file's own date listed it: a file dated
  // on the other side of a daylight-saving change is an hour off. None: the same.
  std::optional<LocalTime> lastWriteAsFormerlyListed;
  // A reparse point (junction, symbolic link): a folder walk does not enter it.
  bool isLink = false;
  // The entry's number on its volume, as the listing gives it (the file
  // number FolderIdentity gives for a folder); 0 where the listing gives none.
  std::uint64_t fileNumber = 0;
};

// What tells a folder from every other on the machine: its volume and its
// number there. Two paths that lead to the same folder have the same.
struct FolderId {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  friend bool operator==(const FolderId& a, const FolderId& b) { return a.volume == b.volume && a.file == b.file; }
  friend bool operator!=(const FolderId& a, const FolderId& b) { return !(a == b); }
};

// Sequential reads of one open file; closes it when destroyed.
class BlockReader {
 public:
  virtual ~BlockReader() = default;
  // Fills up to `size` bytes, returns how many; 0 at the end. Throws FileError.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// Reads of one open file at any offset, for a full read that must go on past
// a bad stretch; closes the file when destroyed.
class RandomReader {
 public:
  struct Result {
    std::size_t bytes = 0;  // fewer than asked only at the end of the file
    std::string error;      // the system's reason when the read failed; "" otherwise
    bool Failed() const { return !error.empty(); }
  };
  virtual ~RandomReader() = default;
  // The file's size when it was opened.
  virtual std::uint64_t Size() const = 0;
  // A failed read is an answer, not an error: a worn disc has bad stretches
  // and the caller reads around them.
  virtual Result ReadAt(std::uint64_t offset, char* buffer, std::size_t size) = 0;
};

// A file written piece by piece into a temporary sibling, which replaces the
// target in one step at Commit. Dropped without Commit, the writer removes the
// temporary and the target stays as it was.
class ReplacingWriter {
 public:
  virtual ~ReplacingWriter() = default;
  // Throws FileError naming the target.
  virtual void Write(std::string_view bytes) = 0;
  // Writes the file through and replaces the target with it. Throws FileError
  // naming the target; the temporary is gone then.
  virtual void Commit() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Whole file in one read. Throws FileError with a message naming the path.
  virtual std::string ReadWholeFile(const std::string& path) = 0;
  // The last `maxBytes` bytes of the file (all of it when shorter); `wholeFile`
  // tells whether the result starts at offset 0. Throws FileError.
  virtual std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) = 0;
  virtual std::unique_ptr<BlockReader> OpenForBlocks(const std::string& path) = 0;
  // Opens a file for RandomReader's reads. Throws FileError naming the path.
  virtual std::unique_ptr<RandomReader> OpenForReadingAt(const std::string& path) = 0;
  // Writes a sibling temporary file (not named *.dat) and replaces `path` with it
  // in one step, so a crash leaves the old file or the new one. Throws FileError.
  virtual void WriteFileReplacing(const std::string& path, std::string_view bytes) = 0;
  // The same for a file the user need not see beside his own (a cache): it
  // gets the hidden attribute where the platform has one.
  virtual void WriteHiddenFileReplacing(const std::string& path, std::string_view bytes) {
    WriteFileReplacing(path, bytes);
  }
  // WriteFileReplacing for bytes given in pieces, so that a large file needs
  // no copy of itself in memory. The temporary is created new beside `path`
  // (not named *.dat), never over a file that is there. Throws FileError
  // naming `path`. The default gathers the pieces and writes them at Commit,
  // for a file system that cannot write in pieces.
  virtual std::unique_ptr<ReplacingWriter> OpenReplacing(const std::string& path);
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Creates the folder with all missing parents; false when it could not.
  virtual bool CreateFolders(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Removes the file also when it is read-only, hidden or system: those
  // attributes are cleared first. False when either step fails.
  virtual bool RemoveFileWhateverItsAttributes(const std::string& path) { return RemoveFile(path); }
  // Moves a folder with everything in it to a new name on the same volume, in
  // one step; false when it could not (the target exists, a file in it is
  // open). A trailing backslash on either path is allowed.
  virtual bool RenameFolder(const std::string& from, const std::string& to) { return false; }
  // Removes an empty folder; false when it could not.
  virtual bool RemoveFolder(const std::string& path) { return false; }
  // Calls `onEntry` for every entry of `folder` (ends with a backslash) whose name
  // matches the wildcard `mask`, hidden and system entries included, "." and ".."
  // skipped, in the order the file system returns them. `onEntry` returns false
  // to stop. A folder that cannot be listed yields nothing.
  virtual void ListFolder(const std::string& folder, const std::string& mask,
                          const std::function<bool(const DirEntry&)>& onEntry) = 0;
  // The same, telling a folder that could not be listed (a drive not ready, a
  // bad sector, a folder gone) from one with no entry that matches: the
  // system's reason when the listing failed, at its start or on the way; ""
  // when it was listed to its end or `onEntry` stopped it.
  virtual std::string ListFolderOrSayWhy(const std::string& folder, const std::string& mask,
                                         const std::function<bool(const DirEntry&)>& onEntry) {
    ListFolder(folder, mask, onEntry);
    return {};
  }
  // The file's last-write time as ListFolder gives it, without listing its
  // folder; nullopt when there is no such file (a folder is none).
  virtual std::optional<LocalTime> FileWriteTime(const std::string& path) {
    const std::size_t cut = path.find_last_of('\\') + 1;
    std::optional<LocalTime> time;
    ListFolder(path.substr(0, cut), path.substr(cut), [&](const DirEntry& entry) {
      if (!entry.isFolder) time = entry.lastWrite;
      return false;
    });
    return time;
  }
  // The folder's identity; nullopt when the platform cannot tell. A folder
  // walk uses it to see loops.
  virtual std::optional<FolderId> FolderIdentity(const std::string& folder) { return std::nullopt; }
};

// FileSystem::OpenReplacing's default.
class GatheringReplacingWriter final : public ReplacingWriter {
 public:
  GatheringReplacingWriter(FileSystem& fs, std::string path) : m_fs(fs), m_path(std::move(path)) {}
  void Write(std::string_view bytes) override { m_bytes += bytes; }
  void Commit() override { m_fs.WriteFileReplacing(m_path, m_bytes); }

 private:
  FileSystem& m_fs;
  std::string m_path;
  std::string m_bytes;
};

inline std::unique_ptr<ReplacingWriter> FileSystem::OpenReplacing(const std::string& path) {
  return std::make_unique<GatheringReplacingWriter>(*this, path);
}

}  // namespace discovel
