// An archive's folder tree built from arbitrary bytes: it is built or the
// archive is refused as damaged, and what it holds adds up.
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "browse/ArchiveFolders.h"
#include "catalog/ArchiveEntries.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"
#include "platform/Platform.h"

namespace discovel::fuzz {
namespace {

using Index = ArchiveFolders::FolderIndex;

void CheckFolder(const ArchiveFolders& tree, Index folder, CountTotal& allBytes) {
  FUZZ_REQUIRE(tree.Find(tree.FolderLine(folder)) == folder);
  ArchiveFolders::Totals sum;
  sum.files = tree.Files(folder).size();
  for (const ArchiveFolders::File& file : tree.Files(folder)) {
    sum.bytes.Add(static_cast<std::uint64_t>(file.size));
    allBytes.Add(static_cast<std::uint64_t>(file.size));
    const std::optional<ArchiveFolders::Place> place = tree.FindEntry(file.entry);
    FUZZ_REQUIRE(place && place->folder == folder);
    FUZZ_REQUIRE(&tree.Files(folder)[place->position] == &file);
  }
  for (const Index child : tree.Children(folder)) {
    FUZZ_REQUIRE(tree.Parent(child) == folder);
    const ArchiveFolders::Totals& below = tree.TotalsOf(child);
    sum.files += below.files;
    sum.folders += below.folders + 1;
    sum.bytes.Add(below.bytes);
  }
  const ArchiveFolders::Totals& totals = tree.TotalsOf(folder);
  FUZZ_REQUIRE(totals.files == sum.files && totals.folders == sum.folders && totals.bytes == sum.bytes);

  const std::vector<Index> bySize = tree.ChildrenBySize(folder);
  FUZZ_REQUIRE(bySize.size() == tree.Children(folder).size());
  for (std::size_t i = 1; i < bySize.size(); ++i) {
    FUZZ_REQUIRE(tree.TotalsOf(bySize[i - 1]).bytes >= tree.TotalsOf(bySize[i]).bytes);
  }
  std::vector<std::uint32_t> byName = tree.FilesByName(folder);
  std::sort(byName.begin(), byName.end());
  for (std::size_t i = 0; i < byName.size(); ++i) FUZZ_REQUIRE(byName[i] == i);
}

// The entries as the search reads them, through the index of every line;
// nullopt where it refuses the archive.
std::optional<std::vector<EntryView>> IndexedEntries(const ArchiveText& archive, const std::string& path) {
  try {
    std::vector<EntryView> entries = ListArchiveEntries(archive, path);
    for (const EntryView& entry : entries) {
      const std::optional<std::int64_t> size = ParseInt64(entry.size);
      if (!size || *size < 0 || !ParseInt64(entry.time)) return std::nullopt;
    }
    return entries;
  } catch (const AppError&) {
    return std::nullopt;
  }
}

// The tree reads its entries in one pass over the text: it holds exactly
// the entries the indexed reading gives, each in its folder.
void CheckEntries(const ArchiveFolders& tree, const std::optional<std::vector<EntryView>>& entries) {
  FUZZ_REQUIRE(entries && entries->size() == tree.FileCount());
  for (std::size_t i = 0; i < entries->size(); ++i) {
    const EntryView& entry = (*entries)[i];
    const std::optional<ArchiveFolders::Place> place = tree.FindEntry(i);
    FUZZ_REQUIRE(place && tree.Find(entry.folder) == place->folder);
    const ArchiveFolders::File& file = tree.Files(place->folder)[place->position];
    FUZZ_REQUIRE(tree.Name(file) == entry.name && file.size == *ParseInt64(entry.size));
  }
}

}  // namespace
}  // namespace discovel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace discovel;
  const std::string path = "M:\\Archive\\1.dat";
  std::optional<DecodedArchive> decoded;
  try {
    decoded = DecodeArchiveBytes(std::string(reinterpret_cast<const char*>(data), size), SystemTextServices(), path);
  } catch (const AppError&) {
    return 0;  // in an encoding this version does not know
  }
  const ArchiveText indexed(decoded->text, decoded->encoding);
  const std::optional<std::vector<EntryView>> entries = fuzz::IndexedEntries(indexed, path);
  // Read in stretches at once as a large text is, and in one.
  try {
    const ArchiveFolders inStretches(*decoded, path, SystemTextServices(), EntryReading{.splitFrom = 0, .threads = 3});
    fuzz::CheckEntries(inStretches, entries);
  } catch (const AppError&) {
    FUZZ_REQUIRE(!entries);
  }
  std::optional<ArchiveFolders> tree;
  try {
    tree.emplace(std::move(*decoded), path, SystemTextServices(), EntryReading{.threads = 1});
  } catch (const AppError&) {
    FUZZ_REQUIRE(!entries);  // damaged
    return 0;
  }
  fuzz::CheckEntries(*tree, entries);
  CountTotal allBytes;
  for (std::size_t folder = 0; folder < tree->FolderCount(); ++folder) {
    fuzz::CheckFolder(*tree, static_cast<ArchiveFolders::FolderIndex>(folder), allBytes);
  }
  const ArchiveFolders::Totals& root = tree->TotalsOf(ArchiveFolders::kRoot);
  FUZZ_REQUIRE(root.bytes == allBytes);
  FUZZ_REQUIRE(root.files == tree->FileCount());
  FUZZ_REQUIRE(root.folders + 1 == tree->FolderCount());
  FUZZ_REQUIRE(!tree->FindEntry(tree->FileCount()));
  return 0;
}
