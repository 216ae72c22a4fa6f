#pragma once
// The catalogue window (TfrmArchive) driven from a test's second thread: its
// load, its rows read by their columns' keys, selecting and the view style.
#include <windows.h>

#include <chrono>
#include <functional>
#include <vector>

#include "browser/CatalogList.h"
#include "platform/AppContext.h"
#include "support/win32/ListWindowDriver.h"

namespace discovel::test {

class CatalogWindowDriver final : public KeyedListWindowDriver<CatalogColumn> {
 public:
  enum class Opening {
    kOnceLoaded,  // the script starts once the catalogue is listed
    kAtOnce,      // as soon as the window shows, before the load
  };
  // Opens the window and runs `script` against it on a second thread; the
  // window is closed after it.
  static void Run(AppContext& context, const std::function<void(CatalogWindowDriver&)>& script,
                  Opening opening = Opening::kOnceLoaded);

  explicit CatalogWindowDriver(HWND window);

  // The status says what the load found: the totals, or no archives.
  bool Loaded() const;
  bool WaitForLoad(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  Texts Marks() const { return Column(kColArchive); }
  // Selects `rows` with the focus in the list, as clicking and shift-clicking do.
  void SelectRows(const std::vector<int>& rows) const;
  // The list's view (LV_VIEW_DETAILS, ...).
  int View() const;

 protected:
  ShownColumn Where(CatalogColumn key) const override { return ShownColumnOf(kCatalogColumns, key); }
};

}  // namespace discovel::test
