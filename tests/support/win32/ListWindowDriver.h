#pragma once
// What the drivers of the list windows (search, duplicates, check result,
// catalogue) share: the window with its list and status bar, read and acted
// on from a test's second thread as the user's mouse and keys would, the
// list's columns addressed by the keys of their window's column table, and
// the opening of the modal window with a script that drives it.
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "support/win32/ListDriver.h"
#include "ui/core/ListColumns.h"

namespace discovel::test {

// Where a column stands in a window's list and the caption its header shows.
struct ShownColumn {
  int index = -1;  // none
  const char* caption = "";
};

// The column of `key` in a column table whose first column the list shows
// as its column `firstColumn`.
template <class Row, std::size_t N, class Key>
constexpr ShownColumn ShownColumnOf(const Row (&table)[N], Key key, int firstColumn = 0) {
  const int index = ColumnIndex(table, key);
  return index < 0 ? ShownColumn{} : ShownColumn{firstColumn + index, table[index].look.caption};
}

class ListWindowDriver {
 public:
  virtual ~ListWindowDriver() = default;

  HWND Handle() const { return m_window; }
  HWND Control(int id) const { return GetDlgItem(m_window, id); }
  HWND List() const { return Control(m_listId); }
  HWND StatusBar() const { return Control(m_statusId); }
  std::string Caption() const;
  std::string Status(int panel = 0) const;
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != 0; }
  bool Visible(int id) const { return IsWindowVisible(Control(id)) != 0; }
  bool Checked(int id) const;
  // A control's bounds in the window's client coordinates.
  RECT BoundsOf(HWND control) const;
  RECT BoundsOf(int id) const { return BoundsOf(Control(id)); }
  // Polls until the control is enabled (or disabled); false on timeout.
  bool WaitUntilEnabled(int id, bool enabled = true) const;

  int RowCount() const;
  std::vector<int> SelectedRows() const { return ListSelectedRows(List()); }
  Texts Headers() const { return ListHeaders(List()); }
  // The mouse on a row (twice: a double click); the list takes the focus.
  void ClickRow(int row, bool twice = false) const { ClickListRow(List(), row, twice); }
  // Selects a row with the focus left where it is.
  void SelectRow(int row) const { SelectListRow(List(), row); }
  // Double-clicks a row of a found-files list and waits for the file
  // properties it opens; null when none came.
  HWND OpenPropreties(int row) const;
  // Opens the list's pop-up menu as the menu key does and picks its last
  // item: its caption; "" when it was greyed or no separator came before it.
  std::string PickLastPopUpItem() const { return test::PickLastPopUpItem(m_window, List()); }

  // A button's command, as a click on a dialog's button sends it.
  void ClickButton(int id) const;
  // The mouse on a (tool) button: the focus, and the command with it, stay
  // where they were.
  void ClickWithMouse(int id, bool twice = false) const;
  // A check box or radio button clicked; returns once it has acted.
  void ClickCheckBox(int id) const;
  void SetText(int id, const std::string& text) const;
  // A key's press and release posted to a control, as the keyboard delivers
  // them to the control with the focus.
  void PressKeyIn(int id, UINT key) const;
  void PressKeyInList(UINT key) const { PressKeyIn(m_listId, key); }
  // Empties the status bar, so that the next status a wait sees is new.
  void ClearStatus() const;
  // Escape, as the user closes the window.
  virtual void Close() const { PressKeyInList(VK_ESCAPE); }

 protected:
  ListWindowDriver(HWND window, int listId, int statusId) : m_window(window), m_listId(listId), m_statusId(statusId) {}

  // The index of `column`, once the list's header is seen to show its
  // caption there; a driver fault when it does not.
  int IndexOf(ShownColumn column) const;

  // Runs `open` (a modal Execute) on this thread while `drive` is handed the
  // window of `className` on a second one; a driver fault when none comes.
  static void DriveModal(const char* className, const std::function<void()>& open,
                         const std::function<void(HWND)>& drive);

 private:
  std::string WindowClass() const;

  HWND m_window;
  int m_listId;
  int m_statusId;
};

// A list window whose columns are the rows of one column table with keys of
// type `Key`: a column is read and clicked by its key, never by a number.
template <class Key>
class KeyedListWindowDriver : public ListWindowDriver {
 public:
  // The texts of the column, in the order shown.
  Texts Column(Key key) const { return ListColumn(List(), IndexOf(Where(key))); }
  std::string Cell(int row, Key key) const { return ListCell(List(), row, IndexOf(Where(key))); }
  // The caption the header shows where the table puts the column.
  std::string Header(Key key) const {
    const Texts headers = Headers();
    const int index = Where(key).index;
    return index >= 0 && index < static_cast<int>(headers.size()) ? headers[static_cast<std::size_t>(index)] : "";
  }
  // The mouse on the column's header, posted: the test waits for the sort.
  void ClickHeader(Key key) const { ClickListHeader(List(), IndexOf(Where(key))); }
  // The same click, returning once the rows are sorted (for timing a sort).
  void SortBy(Key key) const { ClickListHeaderAndWait(List(), IndexOf(Where(key))); }
  int ColumnWidth(Key key) const {
    return static_cast<int>(SendMessageW(List(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(IndexOf(Where(key))), 0));
  }
  RECT CellBounds(int row, Key key) const { return ListCellBounds(List(), row, IndexOf(Where(key))); }

 protected:
  using ListWindowDriver::ListWindowDriver;
  virtual ShownColumn Where(Key key) const = 0;
};

}  // namespace discovel::test
