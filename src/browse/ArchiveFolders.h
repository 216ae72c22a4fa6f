#pragma once
// One archive's folder tree, for browsing it folder by folder: every folder
// its entries name (and the folders above them), its files and the totals of
// everything below it. Built in one pass over the entries; the archive's text
// is kept once, and names are offsets into it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ArchiveFile.h"
#include "catalog/CountTotal.h"
#include "platform/DefaultInitAllocator.h"
#include "platform/TextServices.h"
#include "search/DuplicateKey.h"

namespace discovel {

// How an archive's text is read: one of at least `splitFrom` bytes, with
// entries of four lines, in up to `threads` stretches at once (0: one a
// processor, at most four).
struct EntryReading {
  std::size_t splitFrom = std::size_t{8} << 20;
  unsigned threads = 0;
};

class ArchiveFolders {
 public:
  using FolderIndex = std::uint32_t;
  static constexpr FolderIndex kRoot = 0;
  static constexpr FolderIndex kNoFolder = 0xFFFFFFFFu;

  // One file entry, in the folder that lists it.
  struct File {
    std::uint32_t nameBegin;  // into the text
    std::uint32_t nameLength;
    std::int64_t size;
    std::int32_t dosTime;
    std::uint32_t entry;  // the entry's index in the archive
  };

  // Of a folder and everything below it: its own files are among the files,
  // and the folders are the ones below it (the folder itself not counted).
  struct Totals {
    std::uint64_t files = 0;
    std::uint64_t folders = 0;
    CountTotal bytes;
  };

  // Filled by several threads, each writing its own files once.
  using FileList = std::vector<File, DefaultInitAllocator<File>>;

  // Where an entry is shown: its folder and its place among that folder's files.
  struct Place {
    FolderIndex folder;
    std::size_t position;
  };

  // `archive` as decoded; `path` names it in messages. Folder lines that
  // differ in letter case only (as the search folds names) are one folder,
  // named as first met. Throws AppError, with the search's text, for a count
  // or stride key that is no number, an entry past the end, and a size or
  // time line that is no number (or a size below 0). `text` must outlive the object.
  // A large text is read on several threads, as `reading` says.
  ArchiveFolders(DecodedArchive archive, const std::string& path, const TextServices& text,
                 const EntryReading& reading = {});
  // The archive file read whole. Throws FileError, and AppError as above.
  static ArchiveFolders Load(FileSystem& fs, const std::string& path, const TextServices& text);

  std::size_t FolderCount() const { return m_folders.size(); }
  // The archive has no encoding key: its names are as the code page gave them.
  bool NamesInCodePage() const { return m_namesInCodePage; }
  std::size_t FileCount() const { return m_files.size(); }

  // "" for the root.
  std::string_view Name(FolderIndex folder) const;
  // kNoFolder for the root.
  FolderIndex Parent(FolderIndex folder) const { return m_folders[folder].parent; }
  // As an archive's folder line: "\" for the root, else "Photos\2009".
  std::string FolderLine(FolderIndex folder) const;
  // On the disc: `rootPath` ("D:\") and the folder line below it.
  std::string DisplayPath(FolderIndex folder, std::string_view rootPath) const;

  // Sorted by name, as the lists sort text (when first asked for: the span
  // stays valid, but a folder's first call sorts its children in place).
  std::span<const FolderIndex> Children(FolderIndex folder) const;
  // Largest total of bytes first; equal totals by name.
  std::vector<FolderIndex> ChildrenBySize(FolderIndex folder) const;
  // Without sorting them.
  bool HasChildren(FolderIndex folder) const { return m_folders[folder].childCount != 0; }
  const Totals& TotalsOf(FolderIndex folder) const { return m_folders[folder].totals; }

  // In the order the archive lists them.
  std::span<const File> Files(FolderIndex folder) const;
  std::string_view Name(const File& file) const { return std::string_view(m_text).substr(file.nameBegin, file.nameLength); }
  // Positions in Files(folder), sorted by name as the lists sort text.
  std::vector<std::uint32_t> FilesByName(FolderIndex folder) const;

  // The folder a folder line names, letter case aside.
  std::optional<FolderIndex> Find(std::string_view folderLine) const;
  // The place in Files(folder) of the file named `name` exactly; of several so
  // named, the first of that size and time where they are given.
  std::optional<std::size_t> FindFile(FolderIndex folder, std::string_view name, std::optional<std::int64_t> size,
                                      std::optional<std::int32_t> dosTime) const;
  // Where the archive's entry `entry` is; nullopt past the entries.
  std::optional<Place> FindEntry(std::size_t entry) const;

  // The bytes the tree holds, as allocated.
  std::size_t HeldBytes() const;

 private:
  struct Folder {
    FolderIndex parent;
    std::uint32_t nameBegin;
    std::uint32_t nameLength;
    std::uint32_t childBegin = 0;  // into m_children
    std::uint32_t childCount = 0;
    std::uint32_t fileBegin = 0;  // into m_files
    std::uint32_t fileCount = 0;
    Totals totals;
    mutable bool childrenSorted = false;  // by name, when first asked for
  };
  class Builder;

  std::string m_text;
  std::vector<Folder> m_folders;  // a parent before its children
  mutable std::vector<FolderIndex> m_children;  // each folder's sorted when first asked for
  FileList m_files;  // folder by folder
  std::vector<std::uint32_t> m_placeOfEntry;  // entry to its index in m_files; none: the same
  bool m_namesInCodePage;
  const TextServices& m_textServices;
  NameFolder m_names;
};

}  // namespace discovel
