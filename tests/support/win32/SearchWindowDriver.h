#pragma once
// The search window (TfrmSearch) driven from a test's second thread: the
// term typed, Go, the criteria, the found files read by their columns' keys.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "platform/AppContext.h"
#include "search/FoundColumns.h"
#include "support/win32/ListWindowDriver.h"

namespace discovel::test {

class SearchWindowDriver final : public KeyedListWindowDriver<FoundColumn> {
 public:
  // Opens the window (restricted to `mark` unless empty) and runs `script`
  // against it on a second thread; the window is closed after it.
  static void Run(AppContext& context, const std::string& mark,
                  const std::function<void(SearchWindowDriver&)>& script);

  explicit SearchWindowDriver(HWND window);

  // The search field's text set, as typed.
  void TypeTerm(const std::string& term) const;
  // The term typed with the keyboard's input queue into the search field,
  // emptied first, once the field has the focus.
  void TypeTermWithKeys(const std::string& term) const;
  // The search field's text.
  std::string Term() const;
  // A key in the search field: Enter is Go, F3 switches the mode.
  void PressKeyInField(UINT key) const;
  void ClickGo() const;
  // The status a finished search leaves ("Files: N" or "There are no results
  // to display."), the last thing it sets; the status seen last when none
  // came in time.
  std::string WaitForSearchEnd(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  // Empties the status, types the term, presses Go and waits for the end.
  std::string Search(const std::string& term) const;
  // The picture the Go button shows: another one while Go is Cancel.
  int GoPicture() const;
  // The advanced mode's dates, from and to.
  void SetDates(const SYSTEMTIME& from, const SYSTEMTIME& to) const;
  // Escape in the search field.
  void Close() const override;

 protected:
  ShownColumn Where(FoundColumn key) const override { return ShownColumnOf(kFoundColumns, key); }
};

}  // namespace discovel::test
