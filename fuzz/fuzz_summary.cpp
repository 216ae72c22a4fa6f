// The summary of the key blocks: its parser against its writer, and the walk
// that trusts it over a catalogue in memory whose summary file is the input.
// The first byte picks the check.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "FuzzInput.h"
#include "MemoryFileSystem.h"
#include "catalog/ArchiveKeyWalk.h"
#include "catalog/CatalogFolder.h"
#include "catalog/KeySummary.h"

namespace discovel::fuzz {
namespace {

// Whatever parses was written by the writer: the same bytes come back.
void CheckParser(std::string_view bytes) {
  const auto summary = ParseKeySummary(bytes);
  if (!summary) return;
  FUZZ_REQUIRE(SerializeKeySummary(*summary) == bytes);
}

// The memory file system lists no sizes or times; this one gives each file
// its size and a time made from its name, and the summary a time of its own,
// so that entries of the input can match and be trusted.
class ListedFileSystem final : public FileSystem {
 public:
  explicit ListedFileSystem(MemoryFileSystem& files) : m_files(files) {}
  std::string ReadWholeFile(const std::string& path) override { return m_files.ReadWholeFile(path); }
  std::string ReadTail(const std::string& path, std::size_t maxBytes, bool& wholeFile) override {
    return m_files.ReadTail(path, maxBytes, wholeFile);
  }
  std::unique_ptr<BlockReader> OpenForBlocks(const std::string& path) override { return m_files.OpenForBlocks(path); }
  std::unique_ptr<RandomReader> OpenForReadingAt(const std::string& path) override {
    return m_files.OpenForReadingAt(path);
  }
  void WriteFileReplacing(const std::string& path, std::string_view bytes) override {
    m_files.WriteFileReplacing(path, bytes);
  }
  bool FileExists(const std::string& path) override { return m_files.FileExists(path); }
  bool FolderExists(const std::string& path) override { return m_files.FolderExists(path); }
  bool CreateFolders(const std::string& path) override { return m_files.CreateFolders(path); }
  bool RemoveFile(const std::string& path) override { return m_files.RemoveFile(path); }
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override {
    m_files.ListFolder(folder, mask, [&](const DirEntry& listed) {
      DirEntry entry = listed;
      if (!entry.isFolder) {
        entry.size = m_files.ReadWholeFile(folder + entry.name).size();
        std::uint32_t hash = 2166136261u;
        for (const char c : entry.name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        const bool summary = entry.name == kSummaryFileName;
        entry.lastWrite = LocalTime{2020, 1 + static_cast<int>(hash % 12), 1 + static_cast<int>(hash / 12 % 28),
                                    summary ? 12 : 1, 0, static_cast<int>(hash / 400 % 60), 0};
      }
      return onEntry(entry);
    });
  }

 private:
  MemoryFileSystem& m_files;
};

// Path and keys; an unreadable archive's keys hold only the mark "unreadable".
using Seen = std::vector<std::pair<std::string, ArchiveKeyValues>>;

Seen Walk(FileSystem& fs, const std::string& root) {
  Seen seen;
  WalkArchiveKeys(fs, SystemTextServices(), root, kArchiveMask,
                  {[&](const std::string& path, const ArchiveKeyValues& keys) { seen.emplace_back(path, keys); },
                   [&](const std::string& path, const AppError&) {
                     seen.emplace_back(path, ArchiveKeyValues{.mark = "unreadable"});
                   }});
  return seen;
}

// Whatever the summary held, a second walk over the same archives gives what
// the first gave, and the summary left behind is one the parser takes and
// within the bound its end line sets, so that the next walk reads it (unless
// a folder of its name kept it from being written).
void CheckWalk(std::string_view rest) {
  const std::string root = "C:\\Cat\\";
  MemoryFileSystem memory;
  for (FuzzFile& file : SplitFiles(rest)) {
    if (!file.name.empty()) memory.Put(root + file.name, std::move(file.bytes));
  }
  ListedFileSystem fs(memory);
  const Seen first = Walk(fs, root);
  const Seen second = Walk(fs, root);
  FUZZ_REQUIRE(first == second);
  const std::string summaryPath = root + std::string(kSummaryFileName);
  if (!first.empty() && !fs.FolderExists(summaryPath)) {
    const std::string bytes = fs.ReadWholeFile(summaryPath);
    const auto summary = ParseKeySummary(bytes);
    FUZZ_REQUIRE(summary && summary->entries.size() == first.size());
    const auto bound = SummaryBytesBound(bytes.substr(bytes.size() - std::min(bytes.size(), kSummaryEndBytes)));
    FUZZ_REQUIRE(bound && bytes.size() <= *bound);
  }
}

}  // namespace
}  // namespace discovel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace discovel::fuzz;
  FuzzInput input(data, size);
  if (input.Byte() % 2 == 0) {
    CheckParser(input.Rest());
  } else {
    CheckWalk(input.Rest());
  }
  return 0;
}
