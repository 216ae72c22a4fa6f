// Search and catalogue-query figures over a synthetic catalogue, each beside a
// baseline measured in the same run:
//   search (simple mode, selective term)  vs  grep -F -i -c over the same files,
//                                             for 100 and for 1,000 archives
//   each search of the ANSI catalogue     vs  the same search of the same
//                                             catalogue in UTF-8 archives
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

#include "BenchCatalogue.h"
#include "BenchTiming.h"
#include "catalog/ArchiveFile.h"
#include "catalog/CatalogQueries.h"
#include "platform/Platform.h"
#include "search/SearchEngine.h"

using namespace discovel;
using namespace discovel::bench;

namespace {

// One name of this form in about 100,000: a handful of hits in the catalogue.
constexpr const char* kSelectiveTerm = "report_4711";
// As selective, outside ASCII, and in the code page: "größe_4711". Only the
// UTF-8 catalogue has names of that stem.
constexpr const char* kAccentedTerm = "gr\u00F6\u00DFe_4711";

struct FixedCriteria {
  SearchRequest Request() const { return {[this] { return text; }, {}, {}}; }
  AdvancedModeQuestion Mode() const {
    return [this] { return advanced; };
  }
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
        SearchEngine engine(SystemFileSystem(), SystemTextServices(), pump, observer);
        engine.Run(folder, "*.dat", criteria.Request(), criteria.Mode(), results);
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

// The same search of the UTF-8 catalogue, beside the ANSI figure.
void PrintUtf8Beside(double ansiSeconds, const std::string& folder, const std::string& term, bool advanced) {
  SearchResults results;
  const double utf8 = SearchSeconds(folder, term, advanced, results);
  std::printf("  the same in UTF-8 archives: %.1f ms (%zu rows), %.2fx the ANSI search\n", utf8 * 1e3,
              results.RowCount(), utf8 / ansiSeconds);
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
  const std::string utf8Folder = root + "search-utf8\\";
  std::size_t rows = 0;
  const double search = SearchSeconds(searchFolder, kSelectiveTerm, false, rows);
  std::printf("search, simple mode, \"%s\": %.1f ms (%zu rows)\n", kSelectiveTerm,
              search * 1e3, rows);
  if (grepSeconds <= 0) grepSeconds = GrepSeconds(searchFolder);
  PrintAgainstGrep(search, grepSeconds);
  PrintUtf8Beside(search, utf8Folder, kSelectiveTerm, false);
  const double advanced = SearchSeconds(searchFolder, kSelectiveTerm, true, rows);
  std::printf("search, advanced mode, same term: %.1f ms (%zu rows)\n", advanced * 1e3, rows);
  PrintUtf8Beside(advanced, utf8Folder, kSelectiveTerm, true);
  // A term with letters outside ASCII: the byte path upper-cases them by the
  // code page, the UTF-8 path folds them.
  const double accented = SearchSeconds(searchFolder, kAccentedTerm, false, rows);
  std::printf("search, simple mode, \"%s\": %.1f ms (%zu rows)\n", kAccentedTerm, accented * 1e3, rows);
  PrintUtf8Beside(accented, utf8Folder, kAccentedTerm, false);
  {
    SearchResults results;
    const double everything = SearchSeconds(searchFolder, "*", false, results);
    std::printf("search listing every entry: %.1f ms (%zu rows)\n", everything * 1e3,
                results.RowCount());
    PrintRowsMemory(results);
    PrintProcessMemory();
    PrintUtf8Beside(everything, utf8Folder, "*", false);
  }

  // Ten times the archives, in one folder.
  const std::string largeFolder = root + "large\\";
  const double large = SearchSeconds(largeFolder, kSelectiveTerm, false, rows);
  std::printf("search of %d archives x %d entries, simple mode, same term: %.1f ms (%zu rows)\n",
              kSearchArchives * kLargeCopies, kEntriesPerArchive, large * 1e3, rows);
  if (grepLargeSeconds <= 0) grepLargeSeconds = GrepSeconds(largeFolder);
  PrintAgainstGrep(large, grepLargeSeconds);
  PrintUtf8Beside(large, root + "large-utf8\\", kSelectiveTerm, false);
  {
    // More rows than the results may hold: the search stops when they are full,
    // keeping whole rows, and the 32-bit process stays within its memory.
    FixedCriteria criteria;
    criteria.text = "*";
    NoPump pump;
    SearchObserver observer;
    SearchResults results;
    SearchEngine engine(SystemFileSystem(), SystemTextServices(), pump, observer);
    const auto start = std::chrono::steady_clock::now();
    const bool completed = engine.Run(largeFolder, "*.dat", criteria.Request(), criteria.Mode(), results);
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
  const double number = BestSeconds([&] { highest = HighestArchiveNumber(fs, SystemTextServices(), queryFolder, "*.dat"); });
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
      if (!ArchiveText::Load(fs, path, SystemTextServices()).ReadKey("ANumber").empty()) ++numbered;
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

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "--generate") {
      WriteSearchCatalogue(CorePath(args[1]));
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
    return MeasureFreshCatalogue(
        "discovel-search-bench-", WriteSearchCatalogue, [](const std::string& root) { Measure(root, 0, 0); });
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
