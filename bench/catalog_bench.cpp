// The catalogue window's load: one row per archive from its key block alone,
// beside reading every one of the same archives whole, in the same run; then
// the load and the add-disc dialog's mark checks with the catalogue's summary
// of the key blocks absent, current, and current but for 1 % of the archives:
//   DIR\large\  1,000 archives x 10,000 entries
//   DIR\small\  10,000 archives of a few entries, in 100 folders
// A small archive's key block is the whole file, so there the load cannot read
// less; it also parses each block and formats its row, which whole reads do not.
//
//   catalog_bench                   generate, measure, remove again
//   catalog_bench --generate DIR    add DIR\small\ (and DIR\large\ when missing)
//   catalog_bench --catalogue DIR   measure an existing catalogue
#include <cstdint>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchCatalogue.h"
#include "BenchTiming.h"
#include "SummaryStates.h"
#include "browser/CatalogRows.h"
#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "catalog/NumberFormat.h"
#include "platform/Platform.h"

#ifdef _WIN32
#include "ui/WindowPump.h"
#endif

using namespace discovel;
using namespace discovel::bench;

namespace {

std::string Grouped(std::int64_t value) { return FormatCount(value, ","); }

// The load as the window runs it, minus the window: rows counted, not shown.
// `prepare` puts the summary in the state measured before every run.
double LoadSeconds(const std::string& folder, UiPump& pump, std::size_t& rows, std::size_t& failures,
                   const std::function<void()>& prepare = [] {}) {
  FileSystem& fs = SystemFileSystem();
  const TextServices& text = SystemTextServices();
  return BestSeconds(prepare, [&] {
    rows = 0;
    failures = 0;
    LoadCatalog(
        fs, text, pump, folder, [] { return false; }, [&](CatalogRow) { ++rows; },
        [&](const std::string&) { ++failures; });
  });
}

// The baseline: the same walk, every archive read whole.
double WholeReadSeconds(const std::string& folder, std::size_t& files, std::uint64_t& bytes) {
  FileSystem& fs = SystemFileSystem();
  return BestSeconds([&] {
    files = 0;
    bytes = 0;
    WalkCatalog(fs, folder, kArchiveMask, [&](const std::string& path) {
      bytes += fs.ReadWholeFile(path).size();
      ++files;
    });
  });
}

// The walk both of the above share: what neither reading can save.
double WalkSeconds(const std::string& folder) {
  return BestSeconds([&] { WalkCatalog(SystemFileSystem(), folder, kArchiveMask, [](const std::string&) {}); });
}

// "45.1 ms", "2,310 ms".
std::string Millis(double seconds) {
  const double ms = seconds * 1e3;
  if (ms >= 1000) return Grouped(static_cast<std::int64_t>(ms + 0.5)) + " ms";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", ms);
  return text;
}

// "51.2x faster", "1.34x slower".
std::string Ratio(double load, double whole) {
  const bool faster = load <= whole;
  const double ratio = faster ? whole / load : load / whole;
  char text[48];
  std::snprintf(text, sizeof text, ratio < 10 ? "%.2fx %s" : "%.1fx %s", ratio, faster ? "faster" : "slower");
  return text;
}

// The load and the mark checks of the add-disc dialog, against the bare
// listing of the archives they cannot do without.
void MeasureSummary(const std::string& folder, double listing) {
  NoPump noPump;
  std::size_t rows = 0;
  std::size_t failures = 0;
  const auto versus = [&](double seconds) { return Millis(seconds) + " (" + Ratio(seconds, listing) + ")"; };
  const double none = LoadSeconds(folder, noPump, rows, failures, [&] { RemoveSummary(folder); });
  const double current = LoadSeconds(folder, noPump, rows, failures);
  const double changed = LoadSeconds(folder, noPump, rows, failures, [&] { ChangeOnePercent(folder); });
  std::printf("  the listing alone %s; the load with no summary %s, with a current one %s, with 1%% changed %s\n",
              Millis(listing).c_str(), versus(none).c_str(), versus(current).c_str(), versus(changed).c_str());
  FileSystem& fs = SystemFileSystem();
  const TextServices& text = SystemTextServices();
  const auto markExists = [&] { MarkExists(fs, text, "No such mark", folder, kArchiveMask); };
  const auto highest = [&] { HighestArchiveNumber(fs, text, folder, kArchiveMask); };
  const double markCurrent = BestSeconds(markExists);
  const double highestCurrent = BestSeconds(highest);
  const double markChanged = BestSeconds([&] { ChangeOnePercent(folder); }, markExists);
  const double highestChanged = BestSeconds([&] { ChangeOnePercent(folder); }, highest);
  std::printf("  MarkExists %s, HighestArchiveNumber %s with a current summary (target <= 2x the listing); "
              "with 1%% changed %s, %s\n",
              versus(markCurrent).c_str(), versus(highestCurrent).c_str(), versus(markChanged).c_str(),
              versus(highestChanged).c_str());
}

void MeasureCatalogue(const std::string& folder, const std::string& what) {
  NoPump noPump;
  std::size_t rows = 0;
  std::size_t failures = 0;
  // Every archive read, as before the summary: what the whole reads compare with.
  const double load = LoadSeconds(folder, noPump, rows, failures, [&] { RemoveSummary(folder); });
  std::size_t files = 0;
  std::uint64_t bytes = 0;
  const double whole = WholeReadSeconds(folder, files, bytes);
  std::printf("%s: load %s (key blocks), whole reads %s: %s\n", what.c_str(), Millis(load).c_str(),
              Millis(whole).c_str(), Ratio(load, whole).c_str());
  std::printf("  %s rows, %s rows/s; whole reads: %s files, %.1f MB; the walk alone: %s\n",
              Grouped(static_cast<std::int64_t>(rows)).c_str(),
              Grouped(static_cast<std::int64_t>(static_cast<double>(rows) / load)).c_str(),
              Grouped(static_cast<std::int64_t>(files)).c_str(), static_cast<double>(bytes) / 1e6,
              Millis(WalkSeconds(folder)).c_str());
  if (failures != 0 || rows != files) {
    std::printf("  odd: %zu archives failed to load, %zu rows for %zu files\n", failures, rows, files);
  }
#ifdef _WIN32
  // The window pumps its messages after every archive: what that adds here,
  // with no window to dispatch to.
  WindowPump windowPump;
  const double pumped = LoadSeconds(folder, windowPump, rows, failures, [&] { RemoveSummary(folder); });
  std::printf("  load with the window pump: %s\n", Millis(pumped).c_str());
#endif
  MeasureSummary(folder, WalkSeconds(folder));
}

void Measure(const std::string& root) {
  MeasureCatalogue(root + "large\\", Grouped(kSearchArchives * kLargeCopies) + " archives x " +
                                         Grouped(kEntriesPerArchive) + " entries");
  MeasureCatalogue(root + "small\\", Grouped(kSmallArchives) + " archives of a few entries");
}

// What is missing of the two catalogues; search_bench may have written the
// large one already.
void Generate(const std::string& root) {
  if (!SystemFileSystem().FolderExists(root + "large\\")) WriteSearchCatalogue(root);
  WriteSmallCatalogue(root);
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
      return 0;
    }
    if (!args.empty()) {
      std::fprintf(stderr, "usage: catalog_bench [--generate DIR | --catalogue DIR]\n");
      return 2;
    }
    return MeasureFreshCatalogue("discovel-catalog-bench-", Generate, Measure);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
