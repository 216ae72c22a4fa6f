#pragma once
// The folder browser (TfrmBrowse) driven from a test's second thread: its
// tree read item by item, its list by the columns' places, its address line,
// and the keys that move between folders.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "platform/AppContext.h"
#include "support/win32/ListWindowDriver.h"

namespace discovel::test {

class BrowseWindowDriver final : public ListWindowDriver {
 public:
  enum Column { kName, kType, kDateModified, kSize };

  // Opens the browser on the archive and runs `script` against it on a
  // second thread; the window is closed after it.
  static void Run(AppContext& context, const std::string& archivePath, const std::string& mark,
                  const std::function<void(BrowseWindowDriver&)>& script);

  explicit BrowseWindowDriver(HWND window);

  HWND Tree() const;
  // The texts of the items under the item reached by `path` (texts from the
  // top item down; empty: the top items).
  Texts TreeItems(const Texts& path) const;
  // The root item shows its children; asks no item's text.
  bool TreeShowsRootsChildren() const;
  std::string TreeSelection() const;
  Texts Column(Column column) const { return ListColumn(List(), column); }
  std::string Address() const;
  // Polls until the address line shows `address`; the address shown then.
  std::string WaitForAddress(const std::string& address) const;
  // A key pressed with Alt held in the list, as the keyboard delivers it.
  void PressAltKeyInList(UINT key) const;
  // Whether the row lies wholly inside the list's client area.
  bool RowInView(int row) const;
};

}  // namespace discovel::test
