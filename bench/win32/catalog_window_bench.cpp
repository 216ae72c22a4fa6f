// The catalogue window's figures over a catalogue that catalog_bench
// --generate wrote: from opening the window to every row listed and painted,
// for 10,000 small archives and for 1,000 large ones, and sorting the rows;
// the first opening without the catalogue's summary of the key blocks, the
// second with it, and one after 1 % of the archives changed, beside the bare
// listing of the archives. The second opening is also measured from the tick
// of the window's load timer, 150 ms after it shows, which leaves the delay
// out.
//
//   catalog_window_bench DIR     DIR\small\ and DIR\large\ hold the archives
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

#include "browser/CatalogList.h"
#include "browser/fmArchiveIds.h"
#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "platform/AppContext.h"
#include "platform/Platform.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "support/win32/CatalogWindowDriver.h"
#include "support/win32/DriverFault.h"
#include "../BenchTiming.h"
#include "../SummaryStates.h"

using namespace discovel;
using Clock = std::chrono::steady_clock;

namespace {

double Millis(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
  double listed = 0;    // opening to every row listed and painted
  double fromTick = 0;  // the load timer's tick to the same
  double sorts[2] = {};
  std::string status;
};

// When the catalogue window's thread took the load timer's tick from its
// queue; 0 before. A message hook of that thread sets it.
std::atomic<Clock::rep> g_tick{0};

LRESULT CALLBACK NoteLoadTick(int code, WPARAM removal, LPARAM message) {
  const MSG& msg = *reinterpret_cast<const MSG*>(message);
  if (code == HC_ACTION && removal == PM_REMOVE && msg.message == WM_TIMER && msg.wParam == fmArchiveIds::kTimScan &&
      g_tick.load() == 0) {
    char className[64] = {};
    GetClassNameA(msg.hwnd, className, sizeof className);
    if (std::string(className) == fmArchiveIds::kClassName) g_tick = Clock::now().time_since_epoch().count();
  }
  return CallNextHookEx(nullptr, code, removal, message);
}

Figures Measure(const std::string& folder, bool sort) {
  AppContext context{{SystemFileSystem(), ProgramSettings(), SystemTextServices()}, {folder, 'D'}};
  Figures figures;
  g_tick = 0;
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, NoteLoadTick, nullptr, GetCurrentThreadId());
  const auto start = Clock::now();
  const auto drive = [&](test::CatalogWindowDriver& window) {
    if (!window.WaitForLoad(std::chrono::minutes(10))) {
      test::DriverFault("The catalogue did not load: \"" + window.Status() + "\".");
    }
    figures.status = window.Status();
    UpdateWindow(window.List());
    figures.listed = Millis(start);
    if (const Clock::rep tick = g_tick.load()) figures.fromTick = Millis(Clock::time_point(Clock::duration(tick)));
    if (sort) {
      const CatalogColumn columns[2] = {kColSize, kColArchive};
      for (int i = 0; i < 2; ++i) {
        const auto sortStart = Clock::now();
        window.SortBy(columns[i]);
        UpdateWindow(window.List());
        figures.sorts[i] = Millis(sortStart);
      }
    }
  };
  test::CatalogWindowDriver::Run(context, drive, test::CatalogWindowDriver::Opening::kAtOnce);
  if (hook) UnhookWindowsHookEx(hook);
  return figures;
}

// The walk over the archives that every opening makes, with nothing read.
double ListingMillis(const std::string& folder) {
  const auto walk = [&] { WalkCatalog(SystemFileSystem(), folder, kArchiveMask, [](const std::string&) {}); };
  return 1e3 * bench::BestSeconds(walk);
}

struct Openings {
  Figures first;    // no summary
  Figures second;   // a current one
  Figures changed;  // current but for 1 % of the archives
  double listing = 0;
};

Openings MeasureOpenings(const std::string& folder, bool sort) {
  Measure(folder, false);  // warms the file cache
  Openings openings;
  bench::RemoveSummary(folder);
  openings.first = Measure(folder, false);
  openings.second = Measure(folder, sort);
  bench::ChangeOnePercent(folder);
  openings.changed = Measure(folder, false);
  openings.listing = ListingMillis(folder);
  return openings;
}

void PrintOpenings(const Openings& openings) {
  std::printf("  first opening (no summary) %.0f ms; second opening %.0f ms (%.2fx the bare listing of %.0f ms); "
              "with 1%% of the archives changed %.0f ms\n",
              openings.first.listed, openings.second.listed, openings.second.listed / openings.listing,
              openings.listing, openings.changed.listed);
  std::printf("  second opening from the load timer's tick %.0f ms, the bare listing %.0f ms: %.2fx the listing\n",
              openings.second.fromTick, openings.listing, openings.second.fromTick / openings.listing);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: catalog_window_bench DIR\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  std::string root = argv[1];
  if (root.back() != '\\') root += '\\';
  // Details, so that the headers can be clicked; the value goes again at the end.
  ProgramSettings().WriteString(names::kKeyState, names::kArchiveViewStyle, "vsReport");

  const Openings small = MeasureOpenings(root + "small\\", true);
  const Openings large = MeasureOpenings(root + "large\\", false);
  ProgramSettings().DeleteValue(names::kKeyState, names::kArchiveViewStyle);

  std::printf("catalogue window, 10,000 small archives: opening to every row listed and painted, "
              "150 ms of it the delay before the load (targets: second opening <= 600 ms, and from the load "
              "timer's tick <= 2x the listing)\n"
              "  \"%s\"\n",
              small.second.status.c_str());
  PrintOpenings(small);
  std::printf("  sorting: by Size %.0f ms, by Archive %.0f ms\n", small.second.sorts[0], small.second.sorts[1]);
  std::printf("catalogue window, 1,000 archives x 10,000 entries: opening to every row listed and painted "
              "(target: second opening <= 200 ms)\n");
  PrintOpenings(large);
  return 0;
}
