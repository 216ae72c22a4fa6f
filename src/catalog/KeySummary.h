#pragma once
// The summary of the catalogue's key blocks: one hidden file in the catalogue
// folder that holds, for each archive, where it lies below the folder, its
// size and last-write time as the folder listing gave them, and the key
// values its readers need, as UTF-8. It is only a cache: an archive is trusted to it
// while its size and time are those recorded, and any file that does not
// parse exactly is no summary at all.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "platform/TextServices.h"

namespace discovel {

// The summary's name in the catalogue folder: not an archive name, so no walk
// over "*.dat", backup or merge takes it.
inline constexpr std::string_view kSummaryFileName = "catalog.sum";

// The keys the catalogue window, the mark checks and the mark lists read, each
// as the key block stores it, decoded to UTF-8 ("" when absent): the rules that trim or
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
  std::string encoding;     // AEncoding: "" for an archive in the code page
  // Where the listing came from: ASource, and for a drive or folder its path,
  // volume serial and label.
  std::string source;
  std::string sourcePath;
  std::string volumeSerial;
  std::string volumeLabel;

  friend bool operator==(const ArchiveKeyValues&, const ArchiveKeyValues&) = default;
};

// Reads the archive's key block, decoded. Throws FileError when it cannot be
// read, AppError when its encoding is unknown.
ArchiveKeyValues ReadArchiveKeyValues(FileSystem& fs, const std::string& path, const TextServices& text);

struct SummaryEntry {
  std::string relativePath;  // below the catalogue folder, backslashes
  std::uint64_t size = 0;
  LocalTime lastWrite;
  // False when the summary holds no keys of the archive: its key block could
  // not be read, or they make a record longer than kLongestSummaryRecord. Such
  // an entry only says so, and the archive is read again every time.
  bool readable = true;
  // How long before the summary's own writing the archive was read, which is
  // what its time is measured against before the entry is trusted; nullopt
  // once a walk found its time clear of that reading, and for an unreadable one.
  std::optional<std::uint64_t> readBeforeWritingMs;
  ArchiveKeyValues keys;

  friend bool operator==(const SummaryEntry&, const SummaryEntry&) = default;
};

// The longest line the summary holds for one archive. The dialogs let a mark,
// a location and a note of 255 characters each be typed, and the path lies
// within MAX_PATH: all of them fit, escaped, with room to spare.
inline constexpr std::size_t kLongestSummaryRecord = 4096;
// The most archives a summary describes: a bound on what its end line may
// claim, which keeps the bytes it may take within a 32-bit process's reach.
inline constexpr std::size_t kMostSummaryArchives = 100000;
// A read that waited longer than this is recorded as this long.
inline constexpr std::uint64_t kLongestReadBeforeWritingMs = std::uint64_t{1} << 40;

// The entry as the summary keeps it: keys that would make its record longer
// than kLongestSummaryRecord are not kept, and the archive is read every time.
SummaryEntry AsKept(SummaryEntry entry);

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

// How many of its last bytes are enough to find a summary's end line.
inline constexpr std::size_t kSummaryEndBytes = 64;
// The most bytes a summary whose file ends in `tail` can hold: the entries
// its end line counts at their longest, and the first line. nullopt when
// `tail` does not end in an end line or it counts more than
// kMostSummaryArchives: such a file is no summary, whatever its size.
std::optional<std::size_t> SummaryBytesBound(std::string_view tail);

// Milliseconds from a fixed origin, for telling how far apart two file times
// lie; no time-zone rule is applied.
std::int64_t MillisecondsOf(const LocalTime& time);

}  // namespace discovel
