// Search and catalogue-query figures over a synthetic catalogue, each beside a
// baseline measured in the same run:
//   search (simple mode, selective term)  vs  grep -F -i -c over the same files,
//                                             for 100 and for 1,000 archives
//   MarkExists / HighestArchiveNumber     vs  reading every archive whole
// and the memory the rows of a search take: 1 M rows listed, and a search of
// 10 M entries that lists everything until the results are full.
//
//   search_bench                         generate, measure, remove again
//   search_bench --generate DIR          only write the catalogue into DIR
//   search_bench --catalogue DIR [--grep-seconds S] [--grep-seconds-large S]
//                                        measure an existing catalogue; S are the
//                                        grep times (100 and 1,000 archives) when
//                                        grep is out of reach (Wine)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#endif

#include "catalog/ArchiveFile.h"
#include "catalog/CatalogQueries.h"
#include "catalog/DosTime.h"
#include "platform/Platform.h"
#include "search/SearchEngine.h"

using namespace discovel;

namespace {

constexpr int kSearchArchives = 100;
constexpr int kEntriesPerArchive = 10000;
constexpr int kQueryCopies = 10;  // 10 x 100 = 1,000 archives for the queries
constexpr int kLargeCopies = 10;  // and 1,000 in one folder for the large search
// One name of this form in about 100,000: a handful of hits in the catalogue.
constexpr const char* kSelectiveTerm = "report_4711";

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
std::filesystem::path Native(const std::string& corePath) {
  std::string path = corePath;
#ifndef _WIN32
  std::replace(path.begin(), path.end(), '\\', '/');
#endif
  return std::filesystem::path(path);
}

std::string CorePath(const std::filesystem::path& path) {
  std::string text = path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  if (text.empty() || text.back() != '\\') text += '\\';
  return text;
}

// A disc as the scanner lists it: the files of one folder together, folders
// two to six levels deep under a few dozen realistic names.
std::string DiscListing(Random& random, int archive) {
  static const char* const kWords[] = {
      "Program Files", "Windows", "System32", "Music", "Rock", "Jazz", "Photos", "2006",
      "Holiday", "Documents", "Setup", "Drivers", "x86", "Backup", "Projects", "src",
      "include", "lib", "Data", "Images", "Video", "Games", "Save", "Fonts", "Help",
      "Temp", "Common Files", "Shared", "Resources", "Icons", "Reports", "Archive 2005"};
  static const char* const kStems[] = {"file", "img", "track", "setup", "data", "readme",
                                       "report", "dsc", "song", "library", "invoice",
                                       "letter", "scan", "movie", "backup", "notes"};
  static const char* const kTypes[] = {".mp3", ".jpg", ".txt", ".dll", ".exe", ".ini",
                                       ".htm", ".png", ".doc", ".pdf", ".cab", ".inf",
                                       ".sys", ".wav", ".avi", ".xml", ".h", ".cpp"};
  ArchiveLines lines;
  std::int64_t total = 0;
  int folders = 0;
  for (int written = 0; written < kEntriesPerArchive;) {
    const int depth = static_cast<int>(random.Next(6));
    std::string folder(depth == 0 ? "\\" : "");
    for (int d = 0; d < depth; ++d) {
      if (d) folder += '\\';
      folder += kWords[random.Next(32)];
    }
    ++folders;
    const int files = std::min(1 + static_cast<int>(random.Next(60)),
                               kEntriesPerArchive - written);
    for (int f = 0; f < files; ++f, ++written) {
      char name[64];
      std::snprintf(name, sizeof name, "%s_%04u%s", kStems[random.Next(16)],
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
  keys.files = kEntriesPerArchive;
  keys.dirs = folders;
  keys.size = total;
  keys.number = archive + 1;
  lines.AppendKeyLines(keys);
  return lines.Text();
}

// A second name for an archive: a hard link where the file system has them.
void Link(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::create_hard_link(Native(from), Native(to), error);
  if (error) {
    std::filesystem::copy_file(Native(from), Native(to),
                               std::filesystem::copy_options::overwrite_existing);
  }
}

// DIR\search\ holds the archives searched; DIR\queries\ the same archives ten
// times over in ten folders for the queries, DIR\large\ ten times over in one
// folder for the large search (hard links where the file system has them:
// the page cache holds one copy, as it would hold a catalogue searched before).
void Generate(const std::string& root) {
  FileSystem& fs = SystemFileSystem();
  fs.CreateFolders(root + "search\\");
  Random random(20070102);
  std::uint64_t bytes = 0;
  for (int a = 0; a < kSearchArchives; ++a) {
    const std::string text = DiscListing(random, a);
    bytes += text.size();
    fs.WriteFileReplacing(root + "search\\" + std::to_string(a) + ".dat", text);
  }
  for (int copy = 0; copy < kQueryCopies; ++copy) {
    const std::string folder = root + "queries\\copy" + std::to_string(copy) + "\\";
    fs.CreateFolders(folder);
    for (int a = 0; a < kSearchArchives; ++a) {
      const std::string name = std::to_string(a) + ".dat";
      Link(root + "search\\" + name, folder + name);
    }
  }
  fs.CreateFolders(root + "large\\");
  for (int copy = 0; copy < kLargeCopies; ++copy) {
    for (int a = 0; a < kSearchArchives; ++a) {
      Link(root + "search\\" + std::to_string(a) + ".dat",
           root + "large\\" + std::to_string(copy * kSearchArchives + a) + ".dat");
    }
  }
  std::printf("catalogue: %d archives x %d entries, %.1f MB; %d archives for the queries;"
              " %d archives (%.0f MB) for the large search\n",
              kSearchArchives, kEntriesPerArchive, static_cast<double>(bytes) / 1e6,
              kSearchArchives * kQueryCopies, kSearchArchives * kLargeCopies,
              static_cast<double>(bytes) * kLargeCopies / 1e6);
}

double BestSeconds(const std::function<void()>& run, int rounds = 5) {
  run();  // warms the file cache
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

class FixedCriteria final : public SearchCriteriaSource {
 public:
  std::string SearchText() const override { return text; }
  bool AdvancedMode() const override { return advanced; }
  AdvancedCriteria Advanced() const override { return AdvancedCriteria{}; }
  std::string Restriction() const override { return {}; }
  std::string text;
  bool advanced = false;
};

// Each timed search with an engine of its own, as a search window starts one.
double SearchSeconds(const std::string& folder, const std::string& term, bool advanced,
                     SearchResults& results, int rounds = 5) {
  FixedCriteria criteria;
  criteria.text = term;
  criteria.advanced = advanced;
  NoPump pump;
  SearchObserver observer;
  return BestSeconds(
      [&] {
        results.Clear();
        SearchEngine engine(SystemFileSystem(), SystemTextServices(), pump, criteria, observer);
        engine.Run(folder, "*.dat", results);
      },
      rounds);
}

double SearchSeconds(const std::string& folder, const std::string& term, bool advanced,
                     std::size_t& rows) {
  SearchResults results;
  const double seconds = SearchSeconds(folder, term, advanced, results);
  rows = results.RowCount();
  return seconds;
}

double GrepSeconds(const std::string& folder) {
#ifdef _WIN32
  (void)folder;
  return 0;
#else
  const std::string command = "LC_ALL=C grep -F -i -c '" + std::string(kSelectiveTerm) + "' '" +
                              Native(folder).string() + "'*.dat > /dev/null";
  return BestSeconds([&] {
    if (std::system(command.c_str()) == -1) std::perror("grep");
  });
#endif
}

void PrintAgainstGrep(double search, double grepSeconds) {
  if (grepSeconds > 0) {
    std::printf("grep -F -i -c over the same files: %.1f ms\n", grepSeconds * 1e3);
    std::printf("search / grep time: %.2f\n", search / grepSeconds);
  } else {
    std::printf("grep: not reachable from here\n");
  }
}

constexpr double kMB = 1024.0 * 1024.0;

// The whole process's memory, as the system counts it: the peak of its
// working set (resident bytes) and the bytes it has committed of its own.
void PrintProcessMemory() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  // The commit charge (PagefileUsage) is the private bytes; Wine fills it,
  // though not PROCESS_MEMORY_COUNTERS_EX's PrivateUsage.
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    std::printf("  process: peak working set %.0f MB, private bytes %.0f MB (peak %.0f MB)\n",
                static_cast<double>(counters.PeakWorkingSetSize) / kMB,
                static_cast<double>(counters.PagefileUsage) / kMB,
                static_cast<double>(counters.PeakPagefileUsage) / kMB);
  }
#else
  std::ifstream status("/proc/self/status");
  std::string line;
  std::string peak, data;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) peak = line.substr(6);
    if (line.rfind("VmData:", 0) == 0) data = line.substr(7);
  }
  if (!peak.empty()) {
    std::printf("  process: peak resident %s, data %s\n",
                std::string(peak.substr(peak.find_first_not_of(" \t"))).c_str(),
                std::string(data.substr(data.find_first_not_of(" \t"))).c_str());
  }
#endif
}

void PrintRowsMemory(const SearchResults& results) {
  const double bytes = static_cast<double>(results.MemoryBytes());
  std::printf("  the rows hold %.1f MB (%.0f bytes a row)\n", bytes / kMB,
              results.RowCount() ? bytes / static_cast<double>(results.RowCount()) : 0.0);
}

void Measure(const std::string& root, double grepSeconds, double grepLargeSeconds) {
  const std::string searchFolder = root + "search\\";
  std::size_t rows = 0;
  const double search = SearchSeconds(searchFolder, kSelectiveTerm, false, rows);
  std::printf("search, simple mode, \"%s\": %.1f ms (%zu rows)\n", kSelectiveTerm,
              search * 1e3, rows);
  if (grepSeconds <= 0) grepSeconds = GrepSeconds(searchFolder);
  PrintAgainstGrep(search, grepSeconds);
  const double advanced = SearchSeconds(searchFolder, kSelectiveTerm, true, rows);
  std::printf("search, advanced mode, same term: %.1f ms (%zu rows)\n", advanced * 1e3, rows);
  {
    SearchResults results;
    const double everything = SearchSeconds(searchFolder, "*", false, results);
    std::printf("search listing every entry: %.1f ms (%zu rows)\n", everything * 1e3,
                results.RowCount());
    PrintRowsMemory(results);
    PrintProcessMemory();
  }

  // Ten times the archives, in one folder.
  const std::string largeFolder = root + "large\\";
  const double large = SearchSeconds(largeFolder, kSelectiveTerm, false, rows);
  std::printf("search of %d archives x %d entries, simple mode, same term: %.1f ms (%zu rows)\n",
              kSearchArchives * kLargeCopies, kEntriesPerArchive, large * 1e3, rows);
  if (grepLargeSeconds <= 0) grepLargeSeconds = GrepSeconds(largeFolder);
  PrintAgainstGrep(large, grepLargeSeconds);
  {
    // More rows than the results may hold: the search stops when they are full,
    // keeping whole rows, and the 32-bit process stays within its memory.
    FixedCriteria criteria;
    criteria.text = "*";
    NoPump pump;
    SearchObserver observer;
    SearchResults results;
    SearchEngine engine(SystemFileSystem(), SystemTextServices(), pump, criteria, observer);
    const auto start = std::chrono::steady_clock::now();
    const bool completed = engine.Run(largeFolder, "*.dat", results);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("search of the %d archives listing every entry: %.1f s, kept %zu rows, %s\n",
                kSearchArchives * kLargeCopies, took.count(), results.RowCount(),
                engine.ResultsWereFull() ? "stopped: results full"
                                         : (completed ? "completed" : "stopped"));
    PrintRowsMemory(results);
    PrintProcessMemory();
  }

  FileSystem& fs = SystemFileSystem();
  const std::string queryFolder = root + "queries\\";
  bool exists = true;
  const double mark = BestSeconds(
      [&] { exists = MarkExists(fs, SystemTextServices(), "No such mark", queryFolder, "*.dat"); });
  std::int32_t highest = 0;
  const double number = BestSeconds([&] { highest = HighestArchiveNumber(fs, queryFolder, "*.dat"); });
  std::uint64_t bytes = 0;
  int archives = 0;
  const double whole = BestSeconds([&] {
    bytes = 0;
    archives = 0;
    WalkCatalog(fs, queryFolder, "*.dat", [&](const std::string& path) {
      bytes += fs.ReadWholeFile(path).size();
      ++archives;
    });
  });
  // The same question answered the way the format allows without a key-block
  // reader: every archive loaded whole as lines.
  int numbered = 0;
  const double wholeQuery = BestSeconds([&] {
    numbered = 0;
    WalkCatalog(fs, queryFolder, "*.dat", [&](const std::string& path) {
      if (!ArchiveText::Load(fs, path).ReadKey("ANumber").empty()) ++numbered;
    });
  });
  std::printf("reading %d archives whole (%.0f MB): %.1f ms; as lines, with a key lookup: %.1f ms\n",
              archives, static_cast<double>(bytes) / 1e6, whole * 1e3, wholeQuery * 1e3);
  std::printf("MarkExists: %.1f ms (%s), %.1fx faster than whole reads\n", mark * 1e3,
              exists ? "found" : "not found", whole / mark);
  std::printf("HighestArchiveNumber: %.1f ms (%d), %.1fx faster than whole reads\n", number * 1e3,
              highest, whole / number);
  std::printf("queries against the whole-file query: %.1fx and %.1fx\n", wholeQuery / mark,
              wholeQuery / number);
}

std::string FreshFolder() {
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto dir =
      std::filesystem::temp_directory_path() / ("discovel-search-bench-" + std::to_string(stamp));
  std::filesystem::create_directories(dir);
  return CorePath(dir);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "--generate") {
      Generate(CorePath(args[1]));
      return 0;
    }
    if (args.size() >= 2 && args.size() % 2 == 0 && args[0] == "--catalogue") {
      double grep = 0;
      double grepLarge = 0;
      bool known = true;
      for (std::size_t i = 2; i < args.size(); i += 2) {
        if (args[i] == "--grep-seconds") {
          grep = std::atof(args[i + 1].c_str());
        } else if (args[i] == "--grep-seconds-large") {
          grepLarge = std::atof(args[i + 1].c_str());
        } else {
          known = false;
        }
      }
      if (known) {
        Measure(CorePath(args[1]), grep, grepLarge);
        return 0;
      }
    }
    if (!args.empty()) {
      std::fprintf(stderr,
                   "usage: search_bench [--generate DIR | --catalogue DIR [--grep-seconds S]"
                   " [--grep-seconds-large S]]\n");
      return 2;
    }
    const std::string root = FreshFolder();
    int result = 0;
    try {
      Generate(root);
      Measure(root, 0, 0);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      result = 1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(Native(root), ignored);
    return result;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
