#pragma once
// An archive text's file entries read in stretches, a large text's stretches
// at once on several threads. A stretch other than the first begins where
// the shape of an entry is clear; it is kept only when the stretch before it
// ends right there, else the text from that end on is read again in one.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "browse/ArchiveFolders.h"

namespace discovel {

struct EntryRun {
  enum class End {
    kCount,     // read as many entries as asked for
    kBoundary,  // the next entry begins in the next stretch, at `next`
    kPastEnd,   // the text ends within or before the entry after the last read
    kNoNumber,  // the entry after the last read has a size or time that is no number
  };
  // Offsets of names into the text; `entry` counts from the stretch's first.
  ArchiveFolders::FileList files;
  // Each file's folder line, as an index into folderLines.
  std::vector<std::uint32_t> lineOfFile;
  // The folder line of each run of files in a row that share one, in order.
  std::vector<std::string_view> folderLines;
  std::size_t begin = 0;
  std::size_t next = 0;
  End end = End::kCount;
};

// At most `count` entries of `stride` lines from the text's start on, in
// stretches that follow one another. The first holds room for `reserve` files.
std::vector<EntryRun> ReadEntryRuns(std::string_view text, std::int64_t count, std::size_t stride,
                                    std::size_t reserve, const EntryReading& reading);

}  // namespace discovel
