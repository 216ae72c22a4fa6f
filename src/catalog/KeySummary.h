#pragma once
// The summary of the catalogue's key blocks: one hidden file in the catalogue
// folder that holds, for each archive, where it lies below the folder, its
// size and last-write time as the folder listing gave them, and the raw key
// values its readers need. It is only a cache: an archive is trusted to it
// while its size and time are those recorded, and any file that does not
// parse exactly is no summary at all.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/LocalTime.h"

namespace discovel {

// The summary's name in the catalogue folder: not an archive name, so no walk
// over "*.dat", backup or merge takes it.
inline constexpr std::string_view kSummaryFileName = "catalog.sum";

// The keys the catalogue window, the mark checks and the mark lists read, each
// exactly as the key block stores it ("" when absent): the rules that trim or
// convert them are applied when they are used, so a summary never holds a
// formatted text of a locale.
struct ArchiveKeyValues {
  std::string mark;
  std::string location;
  std::string note;
  std::string files;
  std::string dirs;
  std::string size;
  std::string date;
  std::string number;
  std::string lastCheck;    // ALastCheck: when the disc was last checked
  std::string checkResult;  // ACheckResult: what that check found

  friend bool operator==(const ArchiveKeyValues&, const ArchiveKeyValues&) = default;
};

// Reads the archive's key block. Throws FileError when it cannot be read.
ArchiveKeyValues ReadArchiveKeyValues(FileSystem& fs, const std::string& path);

struct SummaryEntry {
  std::string relativePath;  // below the catalogue folder, backslashes
  std::uint64_t size = 0;
  LocalTime lastWrite;
  // False when the archive's key block could not be read: such an entry only
  // says so, and the archive is read again every time.
  bool readable = true;
  ArchiveKeyValues keys;

  friend bool operator==(const SummaryEntry&, const SummaryEntry&) = default;
};

struct KeySummary {
  std::string catalogFolder;  // the folder it was written for, as the program names it
  std::vector<SummaryEntry> entries;

  friend bool operator==(const KeySummary&, const KeySummary&) = default;
};

std::string SerializeKeySummary(const KeySummary& summary);
// nullopt for anything that is not a summary of this version written whole:
// another format or version, a missing end line, a field that does not parse,
// an archive listed twice.
std::optional<KeySummary> ParseKeySummary(std::string_view bytes);

// Milliseconds from a fixed origin, for telling how far apart two file times
// lie; no time-zone rule is applied.
std::int64_t MillisecondsOf(const LocalTime& time);

}  // namespace discovel
