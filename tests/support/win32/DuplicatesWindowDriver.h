#pragma once
// The duplicates window (TfrmDuplicates) driven from a test's second thread:
// its criteria, its searches and its rows, the group column first and then
// the found files' columns read by their keys.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "platform/AppContext.h"
#include "search/DuplicateTable.h"
#include "search/FoundColumns.h"
#include "support/win32/ListWindowDriver.h"

namespace discovel::test {

class DuplicatesWindowDriver final : public KeyedListWindowDriver<FoundColumn> {
 public:
  // Opens the window, whose search runs at once, and runs `script` against it
  // on a second thread; the window is closed after it.
  static void Run(AppContext& context, const std::function<void(DuplicatesWindowDriver&)>& script);

  explicit DuplicatesWindowDriver(HWND window);

  Texts GroupColumn() const;
  // 0 while the mode shows no groups.
  int GroupColumnWidth() const;
  // The status a finished search leaves, the last thing it sets: any but
  // none and "Searching..."; the status seen last when none came in time.
  std::string WaitForSearchEnd(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  // Empties the status, presses `key` in the control `id` (F5 anywhere, Enter
  // in the marks box) and waits for the search's end.
  std::string SearchWithKey(int id, UINT key) const;

 protected:
  ShownColumn Where(FoundColumn key) const override {
    return ShownColumnOf(kFoundColumns, key, DuplicateTable::kFirstFileColumn);
  }

 private:
  static constexpr ShownColumn kGroup{DuplicateTable::kGroupColumn, "Group"};
};

}  // namespace discovel::test
