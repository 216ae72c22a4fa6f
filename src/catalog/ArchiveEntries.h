#pragma once
// The file entries of a loaded archive, as its keys describe them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/ArchiveFile.h"

namespace discovel {

// Where an archive's keys put its entries: AFiles entries (none when the key
// is empty or below 1), APars lines apart (4 when empty).
struct EntryLayout {
  std::int64_t count = 0;
  std::size_t stride = kDefaultEntryStride;
  // The count, but no more than the file's lines could hold: what a reader
  // may reserve room for.
  std::size_t reservable = 0;
};

// Throws AppError naming `path` when a key is no number or the stride is below 1.
EntryLayout EntryLayoutOf(const ArchiveText& archive, const std::string& path);

// Entry `index` of the layout. Throws AppError naming `path` when it lies
// past the end of the file.
EntryView ArchiveEntry(const ArchiveText& archive, const EntryLayout& layout, std::size_t index,
                       const std::string& path);

// Every entry of EntryLayoutOf, with its errors.
std::vector<EntryView> ListArchiveEntries(const ArchiveText& archive, const std::string& path);

// What the search says of an entry whose lines the file does not hold.
std::string EntryPastEndText(const std::string& path, std::int64_t index);

// What the search says of an entry whose size or time line is no number:
// the archive's path and the entry's index.
std::string IncompleteEntryText(const std::string& path, std::int64_t index);

}  // namespace discovel
