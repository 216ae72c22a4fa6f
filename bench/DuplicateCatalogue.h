#pragma once
// A catalogue with a known share of copies, for the duplicate search: N
// archives of 10,000 entries each. Every archive has 9,375 entries of its own
// whose name and size no other entry shares (the size is unique across the
// catalogue), 250 of which (2.5 %) are originals copied, with the same name,
// size and time, into 2 or 3 other archives (a third of the copies with the
// name in capitals); the remaining 625 entries are the copies it received. So:
//   several discs, all archives:  250 N groups, 875 N files
//   one disc only, any archive:   9,125 groups of one file each
// (Twice that share lists 1.75 M rows for 10 M entries, which a 64-bit build
// cannot hold within the results' 512 MB.)
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchCatalogue.h"
#include "catalog/ArchiveFile.h"
#include "catalog/DosTime.h"
#include "platform/Platform.h"

namespace discovel::bench {

inline constexpr int kDuplicateEntries = 10000;          // per archive
inline constexpr int kOwnEntries = 9375;                 // of which its own
inline constexpr int kOriginals = 250;                   // own entries copied elsewhere
inline constexpr int kUniques = kOwnEntries - kOriginals;
inline constexpr int kCopiesReceived = kDuplicateEntries - kOwnEntries;

struct CatalogueEntry {
  std::string name;
  std::int64_t size = 0;
  std::int32_t dosTime = 0;
};

inline std::uint32_t Mixed(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352du;
  x ^= x >> 15;
  x *= 0x846ca68bu;
  x ^= x >> 16;
  return x;
}

// Own entry `own` of archive `archive`, the same wherever it is written.
// Names take the search catalogue's form, so the search's selective term
// finds a few of them.
inline CatalogueEntry OwnEntry(int archive, int own) {
  static const char* const kStems[] = {"file", "img", "track", "setup", "data", "readme",
                                       "report", "dsc", "song", "library", "invoice",
                                       "letter", "scan", "movie", "backup", "notes"};
  static const char* const kTypes[] = {".mp3", ".jpg", ".txt", ".dll", ".exe", ".ini",
                                       ".htm", ".png", ".doc", ".pdf", ".cab", ".inf",
                                       ".sys", ".wav", ".avi", ".xml", ".h", ".cpp"};
  const std::uint32_t global = static_cast<std::uint32_t>(archive) * kOwnEntries + static_cast<std::uint32_t>(own);
  Random random(Mixed(global + 1));
  CatalogueEntry entry;
  char name[64];
  std::snprintf(name, sizeof name, "%s_%04u%s", kStems[random.Next(16)], random.Next(10000),
                kTypes[random.Next(18)]);
  entry.name = name;
  // Unique to this entry: no two entries share a size unless one is a copy.
  entry.size = static_cast<std::int64_t>(global) * 37 + random.Next(37);
  const LocalTime stamp{static_cast<int>(1995 + random.Next(25)), static_cast<int>(1 + random.Next(12)),
                        static_cast<int>(1 + random.Next(28)), static_cast<int>(random.Next(24)),
                        static_cast<int>(random.Next(60)), static_cast<int>(2 * random.Next(30)), 0};
  entry.dosTime = PackDosDateTime(stamp);
  return entry;
}

// Original `original` of an archive goes to this many other archives, at
// steps of CopyStride from it: 1, 2 or 3 strides on, all different archives
// as long as three strides stay below the number of archives.
inline int CopiesOf(int original) { return 2 + original % 2; }
inline int CopyStride(int original, int archives) { return 1 + original % ((archives - 1) / 3); }

// Every entry of one archive: its own and the copies it receives.
inline std::vector<CatalogueEntry> ArchiveEntries(int archive, int archives) {
  std::vector<CatalogueEntry> entries;
  entries.reserve(kDuplicateEntries);
  for (int own = 0; own < kOwnEntries; ++own) entries.push_back(OwnEntry(archive, own));
  for (int original = 0; original < kOriginals; ++original) {
    const int stride = CopyStride(original, archives);
    for (int copy = 0; copy < CopiesOf(original); ++copy) {
      const int from = ((archive - stride * (copy + 1)) % archives + archives) % archives;
      CatalogueEntry entry = OwnEntry(from, original);
      if ((original + copy) % 3 == 0) {
        for (char& c : entry.name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      }
      entries.push_back(std::move(entry));
    }
  }
  if (entries.size() != static_cast<std::size_t>(kDuplicateEntries)) {
    throw std::logic_error("the copies received do not fill the archive");
  }
  // Copies scattered among the archive's own files and folders.
  Random random(Mixed(0xD0B1u + static_cast<std::uint32_t>(archive)));
  for (std::size_t i = entries.size() - 1; i > 0; --i) {
    std::swap(entries[i], entries[random.Next(static_cast<std::uint32_t>(i + 1))]);
  }
  return entries;
}

inline std::string DuplicateArchiveMark(int archive) { return "CD No: " + std::to_string(archive + 1); }

inline std::string DuplicateArchiveText(int archive, int archives) {
  static const char* const kWords[] = {
      "Program Files", "Windows", "System32", "Music", "Rock", "Jazz", "Photos", "2006",
      "Holiday", "Documents", "Setup", "Drivers", "x86", "Backup", "Projects", "src"};
  const std::vector<CatalogueEntry> entries = ArchiveEntries(archive, archives);
  Random random(Mixed(0xF01Du + static_cast<std::uint32_t>(archive)));
  ArchiveLines lines;
  std::int64_t total = 0;
  int folders = 0;
  for (std::size_t written = 0; written < entries.size();) {
    const int depth = static_cast<int>(random.Next(5));
    std::string folder(depth == 0 ? "\\" : "");
    for (int d = 0; d < depth; ++d) {
      if (d) folder += '\\';
      folder += kWords[random.Next(16)];
    }
    ++folders;
    const std::size_t files = std::min<std::size_t>(1 + random.Next(60), entries.size() - written);
    for (std::size_t f = 0; f < files; ++f, ++written) {
      const CatalogueEntry& entry = entries[written];
      total += entry.size;
      lines.AppendEntry(folder, entry.name, entry.size, entry.dosTime);
    }
  }
  ArchiveKeys keys;
  keys.date = 908218368;
  keys.mark = DuplicateArchiveMark(archive);
  keys.crc = std::to_string(archive);
  keys.files = static_cast<std::int64_t>(entries.size());
  keys.dirs = folders;
  keys.size = total;
  keys.number = archive + 1;
  lines.AppendKeyLines(keys);
  return lines.Text();
}

// `archives` archives into `folder` (a core path ending in a backslash); the
// bytes written. Plain writes: the program's replace-and-flush step would
// cost an fsync for each file, and is not what is measured.
inline std::uint64_t WriteDuplicateCatalogue(const std::string& folder, int archives) {
  SystemFileSystem().CreateFolders(folder);
  std::uint64_t bytes = 0;
  for (int a = 0; a < archives; ++a) {
    const std::string text = DuplicateArchiveText(a, archives);
    bytes += text.size();
    const std::string path = folder + std::to_string(a) + ".dat";
    std::ofstream file(Native(path), std::ios::binary);
    if (!(file << text)) throw std::runtime_error("Cannot write \"" + path + "\".");
  }
  return bytes;
}

// What the duplicate search must find in such a catalogue.
struct ExpectedDuplicates {
  std::size_t groups = 0;
  std::size_t files = 0;
  std::int64_t bytes = 0;
};

// Several discs over all archives: each original and its copies, the copies'
// sizes being the extra bytes.
inline ExpectedDuplicates ExpectedOnSeveralDiscs(int archives) {
  ExpectedDuplicates expected;
  for (int a = 0; a < archives; ++a) {
    for (int original = 0; original < kOriginals; ++original) {
      ++expected.groups;
      expected.files += 1 + static_cast<std::size_t>(CopiesOf(original));
      expected.bytes += CopiesOf(original) * OwnEntry(a, original).size;
    }
  }
  return expected;
}

// One disc only, for archive `archive`: its entries no other archive holds.
inline ExpectedDuplicates ExpectedOnThisDiscOnly(int archive) {
  ExpectedDuplicates expected;
  for (int own = kOriginals; own < kOwnEntries; ++own) {
    ++expected.groups;
    ++expected.files;
    expected.bytes += OwnEntry(archive, own).size;
  }
  return expected;
}

}  // namespace discovel::bench
