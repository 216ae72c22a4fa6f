#include "support/win32/ListDriver.h"

#include <commctrl.h>

#include <utility>

#include "support/win32/UiDriver.h"

namespace discovel::test {

std::string ListCell(HWND list, int row, int column) {
  char text[512] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

Texts ListColumn(HWND list, int column) {
  Texts texts;
  const auto rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) texts.push_back(ListCell(list, row, column));
  return texts;
}

Texts ListHeaders(HWND list) {
  Texts captions;
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  const auto count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int column = 0; column < count; ++column) {
    char text[128] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    captions.emplace_back(text);
  }
  return captions;
}

RECT ListCellBounds(HWND list, int row, int column) {
  RECT cell{};
  cell.top = column;
  cell.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  return cell;
}

std::vector<int> ListSelectedRows(HWND list) {
  std::vector<int> rows;
  int row = -1;
  while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
    rows.push_back(row);
  }
  return rows;
}

void SelectListRow(HWND list, int row) {
  LVITEMA state{};
  state.stateMask = state.state = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

void ClickListRow(HWND list, int row, bool twice) {
  RECT bounds{LVIR_LABEL};
  SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
  const LPARAM point = MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2);
  PostMessageA(list, WM_MOUSEMOVE, 0, point);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(list, WM_LBUTTONUP, 0, point);
  if (twice) {
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
  }
}

namespace {

// The header of `list` and the middle of `column`'s caption in it.
std::pair<HWND, LPARAM> HeaderCentre(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT bounds{};
  SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&bounds));
  return {header, MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2)};
}

}  // namespace

void ClickListHeader(HWND list, int column) {
  const auto [header, centre] = HeaderCentre(list, column);
  PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageA(header, WM_LBUTTONUP, 0, centre);
}

void ClickListHeaderAndWait(HWND list, int column) {
  const auto [header, centre] = HeaderCentre(list, column);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageA(header, WM_LBUTTONUP, 0, centre);
}

int ListImage(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  return SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
}

bool ListRowSelected(HWND list, int row) {
  return SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
}

int DarkPixels(HWND list) {
  RECT client{};
  GetClientRect(list, &client);
  HDC dc = GetDC(list);
  int dark = 0;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      const COLORREF colour = GetPixel(dc, x, y);
      if (colour != CLR_INVALID && GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 150) ++dark;
    }
  }
  ReleaseDC(list, dc);
  return dark;
}

std::string StatusText(HWND statusBar, int panel) {
  char text[512] = {};
  SendMessageA(statusBar, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text));
  return text;
}

std::string PickLastPopUpItem(HWND window, HWND list) {
  PostMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(-1, -1));
  HWND menu = WaitForWindow("#32768");
  if (!menu) return "";
  HMENU items = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
  const int last = GetMenuItemCount(items) - 1;
  char caption[64] = {};
  GetMenuStringA(items, static_cast<UINT>(last), caption, sizeof caption, MF_BYPOSITION);
  const bool greyed = (GetMenuState(items, static_cast<UINT>(last), MF_BYPOSITION) & MF_GRAYED) != 0;
  const bool afterSeparator = (GetMenuState(items, static_cast<UINT>(last - 1), MF_BYPOSITION) & MF_SEPARATOR) != 0;
  PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);  // from no item: the last one
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  WaitForWindowGone(menu);
  return greyed || !afterSeparator ? "" : caption;
}

}  // namespace discovel::test
