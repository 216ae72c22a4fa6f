#include "browse/ArchiveFolders.h"

#include <algorithm>
#include <cstring>
#include <future>
#include <limits>
#include <numeric>
#include <system_error>

#include "browse/EntryRuns.h"
#include "browse/FolderLookup.h"
#include "catalog/ArchiveEntries.h"
#include "catalog/ColumnSort.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"

namespace discovel {
namespace {

// The names of a run of records, for the lists' sort.
template <class Record>
class NameCells final : public ColumnCells {
 public:
  NameCells(std::string_view text, std::span<const Record> records) : m_text(text), m_records(records) {}
  std::size_t RowCount() const override { return m_records.size(); }
  std::string_view Cell(std::size_t row) const override {
    return m_text.substr(m_records[row].nameBegin, m_records[row].nameLength);
  }

 private:
  std::string_view m_text;
  std::span<const Record> m_records;
};

// The names of a folder's children, for the lists' sort.
class ChildNameCells final : public ColumnCells {
 public:
  ChildNameCells(const ArchiveFolders& tree, std::span<const ArchiveFolders::FolderIndex> children)
      : m_tree(tree), m_children(children) {}
  std::size_t RowCount() const override { return m_children.size(); }
  std::string_view Cell(std::size_t row) const override { return m_tree.Name(m_children[row]); }

 private:
  const ArchiveFolders& m_tree;
  std::span<const ArchiveFolders::FolderIndex> m_children;
};

// Calls onName(component) for each name of a folder line; empty names (a
// leading, trailing or doubled backslash, the root's "\") name no folder.
template <class OnName>
void ForEachName(std::string_view folderLine, const OnName& onName) {
  std::size_t begin = 0;
  while (begin <= folderLine.size()) {
    const std::size_t end = std::min(folderLine.find('\\', begin), folderLine.size());
    if (end > begin && !onName(folderLine.substr(begin, end - begin))) return;
    begin = end + 1;
  }
}

}  // namespace

// The one pass over the entries, then the files put folder by folder, the
// children dealt out to their parents and the totals summed from the leaves up.
class ArchiveFolders::Builder {
 public:
  explicit Builder(ArchiveFolders& tree) : m_tree(tree) {
    m_tree.m_folders.push_back(Folder{kNoFolder, 0, 0});
  }

  // The entries read in stretches, then taken in order: each stretch's
  // folder lines become the tree's folders as first used, and the first
  // entry the text does not hold, or holds damaged, is named. The later
  // stretches' files are copied into place on threads of their own while the
  // folders are made.
  void ReadEntries(std::string_view text, ArchiveEncoding encoding, const std::string& path,
                   const EntryReading& reading) {
    const EntryLayout layout = EntryLayoutOf(ArchiveText::KeyBlockOf(text, encoding), path);
    m_base = text.data();
    // No more entries than the text has lines for.
    const auto reservable =
        static_cast<std::size_t>(std::min<std::int64_t>(layout.count, text.size() / layout.stride + 1));
    std::vector<EntryRun> runs = ReadEntryRuns(text, layout.count, layout.stride, reservable, reading);
    const std::vector<std::size_t> takes = EntriesTaken(runs, layout.count, path);
    FileList& files = m_tree.m_files;
    files = std::move(runs[0].files);  // it has room for all
    std::size_t total = 0;
    for (const std::size_t take : takes) total += take;
    files.resize(total);  // the new files are not written here
    m_folderOfFile.reserve(total);
    std::vector<std::future<void>> copies;
    std::size_t offset = takes[0];
    for (std::size_t k = 1; k < takes.size(); ++k) {
      const auto copy = [&files, &run = runs[k], take = takes[k], offset] {
        for (std::size_t j = 0; j < take; ++j) {
          File& file = files[offset + j] = run.files[j];
          file.entry = static_cast<std::uint32_t>(offset + j);
        }
      };
      try {
        copies.push_back(std::async(std::launch::async, copy));
      } catch (const std::system_error&) {
        copy();  // no thread to be had
      }
      offset += takes[k];
    }
    for (std::size_t k = 0; k < takes.size(); ++k) {
      const EntryRun& run = runs[k];
      const ArchiveFolders::FileList& read = k == 0 ? files : run.files;
      std::vector<FolderIndex> folderOfLine(run.folderLines.size(), kNoFolder);
      for (std::size_t j = 0; j < takes[k]; ++j) {
        FolderIndex& folder = folderOfLine[run.lineOfFile[j]];
        if (folder == kNoFolder) folder = FolderOfLine(run.folderLines[run.lineOfFile[j]]);
        Folder& record = m_tree.m_folders[folder];
        ++record.fileCount;
        record.totals.bytes.Add(static_cast<std::uint64_t>(read[j].size));
        m_grouped = m_grouped && (m_folderOfFile.empty() || folder >= m_folderOfFile.back());
        m_folderOfFile.push_back(folder);
      }
    }
    for (std::future<void>& copy : copies) copy.get();
  }

  // How many files of each stretch are the archive's, up to the count its
  // key block gives; named as the search names such an archive when the
  // stretches end before it.
  static std::vector<std::size_t> EntriesTaken(const std::vector<EntryRun>& runs, std::int64_t count,
                                               const std::string& path) {
    std::vector<std::size_t> takes;
    std::int64_t taken = 0;
    for (const EntryRun& run : runs) {
      const auto take = static_cast<std::size_t>(
          std::min<std::int64_t>(static_cast<std::int64_t>(run.files.size()), count - taken));
      takes.push_back(take);
      taken += static_cast<std::int64_t>(take);
      if (taken == count) return takes;
      if (run.end == EntryRun::End::kNoNumber) throw AppError(IncompleteEntryText(path, taken));
      if (run.end != EntryRun::End::kBoundary) break;
    }
    throw AppError(EntryPastEndText(path, taken));
  }

  // Stable: each folder's files keep the archive's order. Their counts and
  // bytes were summed as they were read.
  void GroupFilesByFolder() {
    std::vector<Folder>& folders = m_tree.m_folders;
    std::uint32_t begin = 0;
    for (Folder& folder : folders) {
      folder.fileBegin = begin;
      begin += folder.fileCount;
    }
    // A walk of a disc writes a folder's files before its subfolders', the
    // folders in the order they are first met: then the files stand grouped,
    // each entry in its own place.
    if (m_grouped) {
      std::vector<FolderIndex>().swap(m_folderOfFile);
      return;
    }
    std::vector<std::uint32_t>& placeOfEntry = m_tree.m_placeOfEntry;
    placeOfEntry.resize(m_tree.m_files.size());
    FileList grouped(m_tree.m_files.size());
    std::vector<std::uint32_t> next(folders.size());
    for (std::size_t f = 0; f < folders.size(); ++f) next[f] = folders[f].fileBegin;
    for (std::size_t i = 0; i < grouped.size(); ++i) {
      const File& file = m_tree.m_files[i];
      const std::uint32_t at = next[m_folderOfFile[i]]++;
      grouped[at] = file;
      placeOfEntry[file.entry] = at;
    }
    m_tree.m_files = std::move(grouped);
    std::vector<FolderIndex>().swap(m_folderOfFile);
  }

  // Dealt out to their parents in the order met; each parent's are sorted by
  // name when first asked for (most folders of a large tree never are).
  void DealOutChildren() {
    std::vector<Folder>& folders = m_tree.m_folders;
    for (std::size_t f = 1; f < folders.size(); ++f) ++folders[folders[f].parent].childCount;
    std::uint32_t begin = 0;
    for (Folder& folder : folders) {
      folder.childBegin = begin;
      begin += folder.childCount;
    }
    m_tree.m_children.resize(folders.size() - 1);
    std::vector<std::uint32_t> next(folders.size());
    for (std::size_t f = 0; f < folders.size(); ++f) next[f] = folders[f].childBegin;
    for (std::size_t f = 1; f < folders.size(); ++f) {
      m_tree.m_children[next[folders[f].parent]++] = static_cast<FolderIndex>(f);
    }
  }

  // A parent comes before its children, so the last folders are summed first.
  void SumTotals() {
    std::vector<Folder>& folders = m_tree.m_folders;
    for (std::size_t f = folders.size(); f-- > 0;) {
      Totals& totals = folders[f].totals;
      totals.files += folders[f].fileCount;
      if (f == kRoot) break;
      Totals& above = folders[folders[f].parent].totals;
      above.files += totals.files;
      above.folders += totals.folders + 1;
      above.bytes.Add(totals.bytes);
    }
  }

 private:
  std::uint32_t Offset(std::string_view view) const { return static_cast<std::uint32_t>(view.data() - m_base); }

  // Each name looked up under its parent, letter case aside; a new one added.
  // Folder lines come mostly in a walk's order, so the leading names a line
  // shares byte for byte with the line before are the same folders.
  FolderIndex FolderOfLine(std::string_view line) {
    const std::size_t same = static_cast<std::size_t>(
        std::mismatch(line.begin(), line.end(), m_lastLine.begin(), m_lastLine.end()).first - line.begin());
    std::size_t kept = 0;
    while (kept < m_lastTrail.size()) {
      const std::size_t end = m_lastTrail[kept].end;
      if (end > same || (end < line.size() && line[end] != '\\')) break;
      ++kept;
    }
    m_lastTrail.resize(kept);
    m_lastLine = line;
    FolderIndex folder = kept == 0 ? kRoot : m_lastTrail.back().folder;
    const std::size_t from = kept == 0 ? 0 : m_lastTrail.back().end;
    ForEachName(line.substr(from), [&](std::string_view name) {
      m_key.clear();
      m_tree.m_names.Fold(name, m_key);
      const FolderLookup::Found found =
          m_known.FindOrAdd(folder, m_key, static_cast<FolderIndex>(m_tree.m_folders.size()));
      if (found.added) {
        m_tree.m_folders.push_back(Folder{folder, Offset(name), static_cast<std::uint32_t>(name.size())});
      }
      folder = found.folder;
      m_lastTrail.push_back({static_cast<std::size_t>(name.data() + name.size() - line.data()), folder});
      return true;
    });
    return folder;
  }

  ArchiveFolders& m_tree;
  const char* m_base = nullptr;
  std::vector<FolderIndex> m_folderOfFile;
  bool m_grouped = true;  // the folders of the files read never went back
  FolderLookup m_known;
  std::string m_key;
  // The folder line met last, and the folders its names lead to, each with
  // where its name ends in the line.
  struct TrailStep {
    std::size_t end;
    FolderIndex folder;
  };
  std::string_view m_lastLine;
  std::vector<TrailStep> m_lastTrail;
};

ArchiveFolders::ArchiveFolders(DecodedArchive archive, const std::string& path, const TextServices& text,
                               const EntryReading& reading)
    : m_text(std::move(archive.text)),
      m_namesInCodePage(archive.encoding == ArchiveEncoding::CodePage),
      m_textServices(text),
      m_names(text) {
  // Names are kept as 32-bit offsets: a 32-bit program holds no larger text anyway.
  if (m_text.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw AppError("Archive \"" + path + "\" is too large to be shown by folders.");
  }
  Builder builder(*this);
  builder.ReadEntries(m_text, archive.encoding, path, reading);
  builder.GroupFilesByFolder();
  builder.DealOutChildren();
  builder.SumTotals();
}

ArchiveFolders ArchiveFolders::Load(FileSystem& fs, const std::string& path, const TextServices& text) {
  return ArchiveFolders(DecodeArchiveBytes(fs.ReadWholeFile(path), text, path), path, text);
}

std::string_view ArchiveFolders::Name(FolderIndex folder) const {
  const Folder& record = m_folders[folder];
  return std::string_view(m_text).substr(record.nameBegin, record.nameLength);
}

std::string ArchiveFolders::FolderLine(FolderIndex folder) const {
  if (folder == kRoot) return "\\";
  std::vector<FolderIndex> trail;
  for (FolderIndex at = folder; at != kRoot; at = Parent(at)) trail.push_back(at);
  std::string line;
  for (std::size_t i = trail.size(); i-- > 0;) {
    line += Name(trail[i]);
    if (i != 0) line += '\\';
  }
  return line;
}

std::string ArchiveFolders::DisplayPath(FolderIndex folder, std::string_view rootPath) const {
  std::string path = folder == kRoot ? std::string(rootPath) : IncludeTrailingBackslash(rootPath);
  if (folder != kRoot) path += FolderLine(folder);
  return path;
}

std::span<const ArchiveFolders::FolderIndex> ArchiveFolders::Children(FolderIndex folder) const {
  const Folder& record = m_folders[folder];
  const std::span<FolderIndex> children =
      std::span<FolderIndex>(m_children).subspan(record.childBegin, record.childCount);
  if (!record.childrenSorted) {
    std::vector<std::uint32_t> order(children.size());
    std::iota(order.begin(), order.end(), 0u);
    SortRows(order, ChildNameCells(*this, children), SortKind::Text, true, m_textServices);
    std::vector<FolderIndex> sorted;
    sorted.reserve(children.size());
    for (const std::uint32_t at : order) sorted.push_back(children[at]);
    std::copy(sorted.begin(), sorted.end(), children.begin());
    record.childrenSorted = true;
  }
  return children;
}

std::vector<ArchiveFolders::FolderIndex> ArchiveFolders::ChildrenBySize(FolderIndex folder) const {
  const std::span<const FolderIndex> byName = Children(folder);
  std::vector<FolderIndex> bySize(byName.begin(), byName.end());
  std::stable_sort(bySize.begin(), bySize.end(), [this](FolderIndex a, FolderIndex b) {
    return m_folders[a].totals.bytes > m_folders[b].totals.bytes;
  });
  return bySize;
}

std::span<const ArchiveFolders::File> ArchiveFolders::Files(FolderIndex folder) const {
  const Folder& record = m_folders[folder];
  return std::span<const File>(m_files).subspan(record.fileBegin, record.fileCount);
}

std::vector<std::uint32_t> ArchiveFolders::FilesByName(FolderIndex folder) const {
  const std::span<const File> files = Files(folder);
  std::vector<std::uint32_t> order(files.size());
  std::iota(order.begin(), order.end(), 0u);
  SortRows(order, NameCells<File>(m_text, files), SortKind::Text, true, m_textServices);
  return order;
}

std::optional<ArchiveFolders::FolderIndex> ArchiveFolders::Find(std::string_view folderLine) const {
  std::optional<FolderIndex> folder = kRoot;
  std::string wanted;
  std::string child;
  ForEachName(folderLine, [&](std::string_view name) {
    wanted.clear();
    m_names.Fold(name, wanted);
    const std::span<const FolderIndex> children = Children(*folder);
    const auto match = std::find_if(children.begin(), children.end(), [&](FolderIndex c) {
      child.clear();
      m_names.Fold(Name(c), child);
      return child == wanted;
    });
    folder = match == children.end() ? std::nullopt : std::optional<FolderIndex>(*match);
    return folder.has_value();
  });
  return folder;
}

std::optional<std::size_t> ArchiveFolders::FindFile(FolderIndex folder, std::string_view name,
                                                    std::optional<std::int64_t> size,
                                                    std::optional<std::int32_t> dosTime) const {
  const std::span<const File> files = Files(folder);
  std::optional<std::size_t> named;
  for (std::size_t at = 0; at < files.size(); ++at) {
    if (Name(files[at]) != name) continue;
    if ((!size || files[at].size == *size) && (!dosTime || files[at].dosTime == *dosTime)) return at;
    if (!named) named = at;
  }
  return named;
}

std::optional<ArchiveFolders::Place> ArchiveFolders::FindEntry(std::size_t entry) const {
  if (entry >= m_files.size()) return std::nullopt;
  const std::uint32_t at = m_placeOfEntry.empty() ? static_cast<std::uint32_t>(entry) : m_placeOfEntry[entry];
  // Folders' files lie in the folders' order: the last to begin at or before `at` holds it.
  const auto after = std::upper_bound(m_folders.begin(), m_folders.end(), at,
                                      [](std::uint32_t value, const Folder& f) { return value < f.fileBegin; });
  const auto folder = static_cast<FolderIndex>(after - m_folders.begin() - 1);
  return Place{folder, at - m_folders[folder].fileBegin};
}

std::size_t ArchiveFolders::HeldBytes() const {
  return sizeof *this + m_text.capacity() + m_folders.capacity() * sizeof(Folder) +
         m_children.capacity() * sizeof(FolderIndex) + m_files.capacity() * sizeof(File) +
         m_placeOfEntry.capacity() * sizeof(std::uint32_t);
}

}  // namespace discovel
