#pragma once
// Reading and clicking list views and status bars of windows under test, as
// the user's mouse would.
#include <windows.h>

#include <string>
#include <vector>

namespace discovel::test {

using Texts = std::vector<std::string>;

std::string ListCell(HWND list, int row, int column);
// The texts of one column, top row first.
Texts ListColumn(HWND list, int column);
// The captions of the column headers, left to right.
Texts ListHeaders(HWND list);
// The bounds of a cell of a report view, in the list's client coordinates;
// of the first column (no subitem) they are the whole row's.
RECT ListCellBounds(HWND list, int row, int column);
// The rows selected, top first.
std::vector<int> ListSelectedRows(HWND list);
// Selects a row by the list's own message: neither the focus nor the other
// rows' selection change.
void SelectListRow(HWND list, int row);
// A left click on a row, or a double click, as the mouse posts it.
void ClickListRow(HWND list, int row, bool twice = false);
void ClickListHeader(HWND list, int column);
// The same click sent, not posted: it returns once the list has sorted its
// rows (for timing a sort; a click that may bring up a box is posted).
void ClickListHeaderAndWait(HWND list, int column);
// The picture a row shows and whether it is selected.
int ListImage(HWND list, int row);
bool ListRowSelected(HWND list, int row);
// How many pixels of the list's client area are nearly black.
int DarkPixels(HWND list);
std::string StatusText(HWND statusBar, int panel = 0);
// From a second thread: opens the list's pop-up menu as the menu key does
// and picks its last item. Its caption; "" when it was greyed or no
// separator came before it.
std::string PickLastPopUpItem(HWND window, HWND list);

}  // namespace discovel::test
