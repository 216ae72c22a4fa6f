#pragma once
// The synthetic catalogues the benchmarks measure, written by the program's own
// archive writer into one folder DIR:
//   DIR\search\   100 archives x 10,000 entries
//   DIR\queries\  the same archives ten times over in ten subfolders
//   DIR\large\    the same archives ten times over in one folder (1,000)
//   DIR\search-utf8\, DIR\large-utf8\  the same in UTF-8 archives, where a
//                 quarter of the folder words and some names are Cyrillic,
//                 Greek or accented Latin
//   DIR\small\    10,000 archives of a few entries, in 100 subfolders
// The copies are hard links where the file system has them: the page cache
// holds one copy, as it would hold a catalogue read before.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "catalog/ArchiveEncoding.h"
#include "catalog/ArchiveFile.h"
#include "catalog/DosTime.h"
#include "platform/Platform.h"

namespace discovel::bench {

inline constexpr int kSearchArchives = 100;
inline constexpr int kEntriesPerArchive = 10000;
inline constexpr int kQueryCopies = 10;  // 10 x 100 = 1,000 archives for the queries
inline constexpr int kLargeCopies = 10;  // and 1,000 in one folder for the large search
inline constexpr int kSmallBoxes = 10;   // small\boxNN\shelfNN\: 10 x 10 folders
inline constexpr int kSmallShelves = 10;
inline constexpr int kSmallPerShelf = 100;
inline constexpr int kSmallArchives = kSmallBoxes * kSmallShelves * kSmallPerShelf;

class Random {
 public:
  explicit Random(std::uint32_t seed) : m_state(seed) {}
  std::uint32_t Next(std::uint32_t below) {
    m_state = m_state * 1664525u + 1013904223u;
    return (m_state >> 8) % below;
  }

 private:
  std::uint32_t m_state;
};

// Core paths are backslash paths; natively the seams map them to slashes.
inline std::filesystem::path Native(const std::string& corePath) {
  std::string path = corePath;
#ifndef _WIN32
  std::replace(path.begin(), path.end(), '\\', '/');
#endif
  return std::filesystem::path(path);
}

inline std::string CorePath(const std::filesystem::path& path) {
  std::string text = path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  if (text.empty() || text.back() != '\\') text += '\\';
  return text;
}

// A new folder under the temporary folder, as a core path.
inline std::string FreshFolder(const std::string& prefix) {
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto dir = std::filesystem::temp_directory_path() / (prefix + std::to_string(stamp));
  std::filesystem::create_directories(dir);
  return CorePath(dir);
}

// The run without arguments: a catalogue made in a fresh temporary folder
// by `generate`, measured by `measure`, and removed again whatever happens.
inline int MeasureFreshCatalogue(const std::string& prefix, const std::function<void(const std::string&)>& generate,
                                 const std::function<void(const std::string&)>& measure) {
  const std::string root = FreshFolder(prefix);
  int result = 0;
  try {
    generate(root);
    measure(root);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    result = 1;
  }
  std::error_code ignored;
  std::filesystem::remove_all(Native(root), ignored);
  return result;
}

// A disc as the scanner lists it: the files of one folder together, folders
// two to six levels deep under a few dozen realistic names. In UTF-8 (`utf8`)
// with the same draws: some words and stems in other scripts, and the key
// line that marks the archive.
inline std::string DiscListing(Random& random, int archive, int entries, bool utf8 = false) {
  static const char* const kWords[] = {
      "Program Files", "Windows", "System32", "Music", "Rock", "Jazz", "Photos", "2006",
      "Holiday", "Documents", "Setup", "Drivers", "x86", "Backup", "Projects", "src",
      "include", "lib", "Data", "Images", "Video", "Games", "Save", "Fonts", "Help",
      "Temp", "Common Files", "Shared", "Resources", "Icons", "Reports", "Archive 2005"};
  static const char* const kWordsUtf8[] = {
      "Program Files", "Windows", "System32", "\u041C\u0443\u0437\u044B\u043A\u0430", "Rock", "Jazz",
      "\u03A6\u03C9\u03C4\u03BF\u03B3\u03C1\u03B1\u03C6\u03AF\u03B5\u03C2", "2006",
      "Vacances d'\u00E9t\u00E9", "Documents", "Setup", "Drivers", "x86", "Sicherung", "Projects", "src",
      "include", "lib", "Daten", "\u0418\u0437\u043E\u0431\u0440\u0430\u0436\u0435\u043D\u0438\u044F",
      "Video", "Games", "Save", "Fonts", "Hilfe", "Temp", "Common Files", "Shared", "Ressourcen", "Icons",
      "\u00DCbersicht", "Archiv 2005"};
  static const char* const kStems[] = {"file", "img", "track", "setup", "data", "readme",
                                       "report", "dsc", "song", "library", "invoice",
                                       "letter", "scan", "movie", "backup", "notes"};
  static const char* const kStemsUtf8[] = {"file", "img", "track", "setup", "data", "readme",
                                           "report", "dsc", "\u043F\u0435\u0441\u043D\u044F", "library",
                                           "invoice", "\u03B3\u03C1\u03AC\u03BC\u03BC\u03B1", "scan",
                                           "movie", "backup", "Gr\u00F6\u00DFe"};
  static const char* const kTypes[] = {".mp3", ".jpg", ".txt", ".dll", ".exe", ".ini",
                                       ".htm", ".png", ".doc", ".pdf", ".cab", ".inf",
                                       ".sys", ".wav", ".avi", ".xml", ".h", ".cpp"};
  ArchiveLines lines;
  std::int64_t total = 0;
  int folders = 0;
  for (int written = 0; written < entries;) {
    const int depth = static_cast<int>(random.Next(6));
    std::string folder(depth == 0 ? "\\" : "");
    for (int d = 0; d < depth; ++d) {
      if (d) folder += '\\';
      folder += (utf8 ? kWordsUtf8 : kWords)[random.Next(32)];
    }
    ++folders;
    const int files = std::min(1 + static_cast<int>(random.Next(60)), entries - written);
    for (int f = 0; f < files; ++f, ++written) {
      char name[64];
      std::snprintf(name, sizeof name, "%s_%04u%s", (utf8 ? kStemsUtf8 : kStems)[random.Next(16)],
                    random.Next(10000), kTypes[random.Next(18)]);
      const std::int64_t size = random.Next(50000000);
      total += size;
      // Real moments only: a time that does not unpack leaves its row unfilled.
      const LocalTime stamp{static_cast<int>(1995 + random.Next(25)), static_cast<int>(1 + random.Next(12)),
                            static_cast<int>(1 + random.Next(28)), static_cast<int>(random.Next(24)),
                            static_cast<int>(random.Next(60)), static_cast<int>(2 * random.Next(30)), 0};
      lines.AppendEntry(folder, name, size, PackDosDateTime(stamp));
    }
  }
  ArchiveKeys keys;
  keys.date = 908218368;
  keys.mark = "CD No: ";
  keys.mark += std::to_string(archive + 1);
  keys.crc = std::to_string(archive);
  keys.files = entries;
  keys.dirs = folders;
  keys.size = total;
  keys.number = archive + 1;
  lines.AppendKeyLines(keys);
  if (utf8) lines.AppendLine(std::string(kAEncoding) + "=" + std::string(kUtf8EncodingValue));
  return lines.Text();
}

// A second name for an archive: a hard link where the file system has them.
inline void Link(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::create_hard_link(Native(from), Native(to), error);
  if (error) {
    std::filesystem::copy_file(Native(from), Native(to),
                               std::filesystem::copy_options::overwrite_existing);
  }
}

// `archives` archives of `entries` entries each in `folder`, ANSI or UTF-8,
// from the same draws; their bytes.
inline std::uint64_t WriteDiscArchives(const std::string& folder, bool utf8) {
  FileSystem& fs = SystemFileSystem();
  fs.CreateFolders(folder);
  Random random(20070102);
  std::uint64_t bytes = 0;
  for (int a = 0; a < kSearchArchives; ++a) {
    const std::string text = DiscListing(random, a, kEntriesPerArchive, utf8);
    bytes += text.size();
    fs.WriteFileReplacing(folder + std::to_string(a) + ".dat", text);
  }
  return bytes;
}

// DIR\search\, DIR\queries\ and DIR\large\, and DIR\search-utf8\ and DIR\large-utf8\.
inline void WriteSearchCatalogue(const std::string& root) {
  FileSystem& fs = SystemFileSystem();
  const std::uint64_t bytes = WriteDiscArchives(root + "search\\", false);
  const std::uint64_t utf8Bytes = WriteDiscArchives(root + "search-utf8\\", true);
  for (int copy = 0; copy < kQueryCopies; ++copy) {
    const std::string folder = root + "queries\\copy" + std::to_string(copy) + "\\";
    fs.CreateFolders(folder);
    for (int a = 0; a < kSearchArchives; ++a) {
      const std::string name = std::to_string(a) + ".dat";
      Link(root + "search\\" + name, folder + name);
    }
  }
  for (const char* kind : {"", "-utf8"}) {
    fs.CreateFolders(root + "large" + kind + "\\");
    for (int copy = 0; copy < kLargeCopies; ++copy) {
      for (int a = 0; a < kSearchArchives; ++a) {
        Link(root + "search" + kind + "\\" + std::to_string(a) + ".dat",
             root + "large" + kind + "\\" + std::to_string(copy * kSearchArchives + a) + ".dat");
      }
    }
  }
  std::printf("catalogue: %d archives x %d entries, %.1f MB (in UTF-8 %.1f MB); %d archives for the queries;"
              " %d archives (%.0f MB) for the large search\n",
              kSearchArchives, kEntriesPerArchive, static_cast<double>(bytes) / 1e6,
              static_cast<double>(utf8Bytes) / 1e6, kSearchArchives * kQueryCopies,
              kSearchArchives * kLargeCopies, static_cast<double>(bytes) * kLargeCopies / 1e6);
}

// DIR\small\: every archive its own file (no links), two to eight entries each.
// The writer's text, written plainly: the program's replace-and-flush step
// would cost an fsync for each of the 10,000 files, and is not what is measured.
inline void WriteSmallCatalogue(const std::string& root) {
  FileSystem& fs = SystemFileSystem();
  Random random(20070103);
  std::uint64_t bytes = 0;
  int archive = 0;
  for (int box = 1; box <= kSmallBoxes; ++box) {
    for (int shelf = 1; shelf <= kSmallShelves; ++shelf) {
      char folder[64];
      std::snprintf(folder, sizeof folder, "small\\box%02d\\shelf%02d\\", box, shelf);
      fs.CreateFolders(root + folder);
      for (int i = 0; i < kSmallPerShelf; ++i, ++archive) {
        const std::string text = DiscListing(random, archive, 2 + static_cast<int>(random.Next(7)));
        bytes += text.size();
        const std::string path = root + folder + std::to_string(archive) + ".dat";
        std::ofstream file(Native(path), std::ios::binary);
        if (!(file << text)) throw std::runtime_error("Cannot write \"" + path + "\".");
      }
    }
  }
  std::printf("small catalogue: %d archives of 2 to 8 entries in %d folders, %.1f MB\n", archive,
              kSmallBoxes * kSmallShelves, static_cast<double>(bytes) / 1e6);
}

}  // namespace discovel::bench
