#pragma once
// Reading and clicking list views and status bars of windows under test, as
// the user's mouse would.
#include <windows.h>

#include <string>
#include <vector>

namespace discovel::test {

std::string ListCell(HWND list, int row, int column);
// The texts of one column, top row first.
std::vector<std::string> ListColumn(HWND list, int column);
// A left click on a row, or a double click, as the mouse posts it.
void ClickListRow(HWND list, int row, bool twice = false);
void ClickListHeader(HWND list, int column);
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
