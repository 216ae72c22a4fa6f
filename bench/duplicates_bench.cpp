// The duplicate search against the simple search of the same catalogue, for
// 100 and for 1,000 archives of 10,000 entries with a known share of copies:
// its time in both modes, the ratio to the search (the aim: at most twice),
// the groups and files it found checked against those the catalogue holds,
// and the process's peak memory (for 10 M entries: within a 32-bit process).
//
//   duplicates_bench                   generate, measure, remove again
//   duplicates_bench --generate DIR    only write the catalogues into DIR
//   duplicates_bench --catalogue DIR   measure catalogues written before
// The exit status is 1 when any answer differs from the expected one.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <atomic>
#include <thread>

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include "BenchCatalogue.h"
#include "BenchTiming.h"
#include "DuplicateCatalogue.h"
#include "platform/Platform.h"
#include "search/DuplicateFinder.h"
#include "search/SearchEngine.h"

using namespace discovel;
using namespace discovel::bench;

namespace {

constexpr const char* kSelectiveTerm = "report_4711";  // as search_bench searches
constexpr double kMB = 1024.0 * 1024.0;
// What a 32-bit process may use of its 2 GB with room left for the rest of the program.
constexpr double kAddressSpaceLimit = 1.5 * 1024.0 * kMB;

struct Size {
  const char* folder;
  int archives;
  int rounds;  // timed runs of the duplicate search
};
// The search, taking a second at most, is timed best of three after a warm-up
// for both sizes; the duplicate search once over 10 M entries, where it takes
// half a minute.
const Size kSizes[] = {{"duplicates100\\", 100, 3}, {"duplicates1000\\", 1000, 1}};

bool g_mismatch = false;

class CountingObserver final : public SearchObserver {
 public:
  void ArchiveFailed(const std::string& message) override {
    if (failed++ == 0) std::printf("  archive failed: %s\n", message.c_str());
  }
  int failed = 0;
};

// Each run with an engine of its own, as a window starts one.
double SimpleSearchSeconds(const std::string& folder, int rounds, std::size_t& rows) {
  const SearchRequest request{[] { return std::string(kSelectiveTerm); }, {}, {}};
  NoPump pump;
  SearchObserver observer;
  return BestSeconds(
      [&] {
        SearchResults results;
        SearchEngine engine(SystemFileSystem(), SystemTextServices(), pump, observer);
        engine.Run(folder, "*.dat", request, [] { return false; }, results);
        rows = results.RowCount();
      },
      rounds);
}

struct DuplicateRun {
  double seconds = 0;
  bool completed = false;
  bool full = false;
  int failed = 0;
  DuplicateTotals totals;
};

DuplicateRun TimeDuplicates(const std::string& folder, const DuplicateRequest& request, int rounds) {
  DuplicateRun run;
  NoPump pump;
  // No warm-up of its own: the search timed before has just read the same files.
  run.seconds = 1e30;
  for (int i = 0; i < rounds; ++i) {
    CountingObserver observer;
    const auto start = std::chrono::steady_clock::now();
    DuplicateFinder finder(SystemFileSystem(), SystemTextServices(), pump, observer);
    run.completed = finder.Run(folder, "*.dat", request);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    run.seconds = std::min(run.seconds, took.count());
    run.full = finder.ResultsWereFull();
    run.failed = observer.failed;
    run.totals = finder.Totals();
  }
  return run;
}

#ifdef _WIN32
// The commit charge (private bytes) now: PagefileUsage where PrivateUsage is
// not filled in (Wine), PrivateUsage where PagefileUsage is not (Windows 7
// and older).
bool ReadMemory(PROCESS_MEMORY_COUNTERS_EX& counters) {
  counters = PROCESS_MEMORY_COUNTERS_EX{};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters) != 0;
}

double PrivateBytes(const PROCESS_MEMORY_COUNTERS_EX& counters) {
  return static_cast<double>(std::max(counters.PrivateUsage, counters.PagefileUsage));
}

// Wine reports the commit charge but no peak of it (its peak is the current
// figure): a thread samples the charge while the process runs and keeps the
// highest, which stands beside the system's own peak.
class PrivateBytesWatch {
 public:
  PrivateBytesWatch() : m_thread([this] { Watch(); }) {}
  ~PrivateBytesWatch() {
    m_stop = true;
    m_thread.join();
  }
  double Peak() const { return m_peak.load(); }

 private:
  void Watch() {
    PROCESS_MEMORY_COUNTERS_EX counters;
    while (!m_stop) {
      if (ReadMemory(counters)) m_peak = std::max(m_peak.load(), PrivateBytes(counters));
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  std::atomic<bool> m_stop{false};
  std::atomic<double> m_peak{0};
  std::thread m_thread;
};

PrivateBytesWatch* g_watch = nullptr;
#endif

// The process's peak memory in bytes, printed: on Windows the private bytes,
// natively the resident set.
double PrintPeakMemory() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS_EX counters;
  if (!ReadMemory(counters)) {
    std::printf("  memory: GetProcessMemoryInfo failed (%lu)\n", GetLastError());
    return 0;
  }
  const double peak = std::max(static_cast<double>(counters.PeakPagefileUsage), g_watch ? g_watch->Peak() : 0.0);
  std::printf("  memory: peak private bytes %.0f MB (the system's peak %.0f MB, now %.0f MB),"
              " peak working set %.0f MB\n",
              peak / kMB, static_cast<double>(counters.PeakPagefileUsage) / kMB, PrivateBytes(counters) / kMB,
              static_cast<double>(counters.PeakWorkingSetSize) / kMB);
  return peak;
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double peak = static_cast<double>(usage.ru_maxrss) * 1024.0;  // Linux counts kilobytes
  std::printf("  memory: peak resident %.0f MB\n", peak / kMB);
  return peak;
#endif
}

void Check(const char* what, const ExpectedDuplicates& expected, const DuplicateRun& run) {
  const DuplicateTotals& got = run.totals;
  if (!run.completed) {
    g_mismatch = true;
    std::printf("  *** MISMATCH: %s did not finish (%s) ***\n", what,
                run.full ? "stopped: the results filled their memory budget" : "stopped");
    return;
  }
  const std::string bytes = got.bytes.Digits();
  if (got.groups != expected.groups || got.files != expected.files || bytes != std::to_string(expected.bytes) ||
      run.failed != 0) {
    g_mismatch = true;
    std::printf("  *** MISMATCH: %s found %zu groups, %zu files, %s bytes (%d archives failed);"
                " the catalogue holds %zu groups, %zu files, %lld bytes ***\n",
                what, got.groups, got.files, bytes.c_str(), run.failed, expected.groups, expected.files,
                static_cast<long long>(expected.bytes));
    return;
  }
  std::printf("  %zu groups, %zu files, %.1f GB: as the catalogue holds\n", got.groups, got.files,
              std::stod(bytes) / 1e9);
}

void PrintAgainstSearch(const char* what, const DuplicateRun& run, double simple) {
  const double ratio = run.seconds / simple;
  std::printf("duplicates, %s: %.3f s, %.2f x the search (target <= 2: %s)\n", what, run.seconds, ratio,
              ratio <= 2.0 ? "met" : "MISSED");
}

void MeasureSize(const std::string& root, const Size& size) {
  const std::string folder = root + size.folder;
  std::printf("\n-- %d archives x %d entries (%s), the search best of 3 after a warm-up, the duplicate"
              " search best of %d\n",
              size.archives, kDuplicateEntries, size.folder, size.rounds);
  std::size_t rows = 0;
  const double simple = SimpleSearchSeconds(folder, 3, rows);
  std::printf("search, simple mode, \"%s\": %.3f s (%zu rows)\n", kSelectiveTerm, simple, rows);

  DuplicateRequest several;
  several.mode = DuplicateMode::kOnSeveralDiscs;
  const DuplicateRun all = TimeDuplicates(folder, several, size.rounds);
  PrintAgainstSearch("on several discs, all archives, same name and size", all, simple);
  Check("the several-discs search", ExpectedOnSeveralDiscs(size.archives), all);
  PrintPeakMemory();

  DuplicateRequest oneDisc;
  oneDisc.mode = DuplicateMode::kOnThisDiscOnly;
  oneDisc.mark = DuplicateArchiveMark(0);
  const DuplicateRun one = TimeDuplicates(folder, oneDisc, size.rounds);
  const std::string oneWhat = "on \"" + oneDisc.mark + "\" only";
  PrintAgainstSearch(oneWhat.c_str(), one, simple);
  Check("the one-disc search", ExpectedOnThisDiscOnly(0), one);
  const double peak = PrintPeakMemory();
  if (size.archives * kDuplicateEntries >= 10000000) {
    std::printf("  peak %s under 1.5 GB (for a 32-bit process): %s\n",
#ifdef _WIN32
                "private bytes",
#else
                "resident set",
#endif
                peak < kAddressSpaceLimit ? "yes" : "NO");
  }
}

void Generate(const std::string& root) {
  const auto start = std::chrono::steady_clock::now();
  for (const Size& size : kSizes) {
    const std::uint64_t bytes = WriteDuplicateCatalogue(root + size.folder, size.archives);
    std::printf("duplicate catalogue: %d archives x %d entries, %.0f MB, each archive %d entries of its own"
                " (%d of them copied to 2 or 3 others) and %d copies\n",
                size.archives, kDuplicateEntries, static_cast<double>(bytes) / 1e6, kOwnEntries, kOriginals,
                kCopiesReceived);
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("written in %.1f s\n", took.count());
}

void Measure(const std::string& root) {
#ifdef _WIN32
  PrivateBytesWatch watch;
  g_watch = &watch;
#endif
  std::printf("duplicates_bench: %d-bit build\n", static_cast<int>(sizeof(void*) * 8));
  for (const Size& size : kSizes) MeasureSize(root, size);
  if (g_mismatch) std::printf("\n*** MISMATCH: the duplicate search gave wrong answers (see above) ***\n");
#ifdef _WIN32
  g_watch = nullptr;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "--generate") {
      Generate(CorePath(args[1]));
      return 0;
    }
    if (args.size() == 2 && args[0] == "--catalogue") {
      Measure(CorePath(args[1]));
      return g_mismatch ? 1 : 0;
    }
    if (!args.empty()) {
      std::fprintf(stderr, "usage: duplicates_bench [--generate DIR | --catalogue DIR]\n");
      return 2;
    }
    const int result = MeasureFreshCatalogue("discovel-duplicates-bench-", Generate, Measure);
    return result != 0 ? result : (g_mismatch ? 1 : 0);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
