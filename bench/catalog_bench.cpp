// The catalogue window's load: one row per archive from its key block alone,
// beside reading every one of the same archives whole, in the same run:
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
#include <filesystem>
#include <string>
#include <vector>

#include "BenchCatalogue.h"
#include "BenchTiming.h"
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
double LoadSeconds(const std::string& folder, UiPump& pump, std::size_t& rows, std::size_t& failures) {
  FileSystem& fs = SystemFileSystem();
  const TextServices& text = SystemTextServices();
  return BestSeconds([&] {
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

void MeasureCatalogue(const std::string& folder, const std::string& what) {
  NoPump noPump;
  std::size_t rows = 0;
  std::size_t failures = 0;
  const double load = LoadSeconds(folder, noPump, rows, failures);
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
  const double pumped = LoadSeconds(folder, windowPump, rows, failures);
  std::printf("  load with the window pump: %s\n", Millis(pumped).c_str());
#endif
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
