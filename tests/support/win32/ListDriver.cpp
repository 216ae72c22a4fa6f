#include "support/win32/ListDriver.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

#include "platform/win32/WideText.h"
#include "support/win32/UiDriver.h"

namespace discovel::test {

std::string ListCell(HWND list, int row, int column) {
  // The answer is the length copied: a full buffer may have cut the text.
  for (std::size_t room = 512;; room *= 4) {
    std::wstring text(room, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(room);
    const auto length = static_cast<std::size_t>(
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < room) return Utf8(text.substr(0, length));
  }
}

Texts ListColumn(HWND list, int column) {
  Texts texts;
  const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) texts.push_back(ListCell(list, row, column));
  return texts;
}

Texts ListHeaders(HWND list) {
  Texts captions;
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const auto count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  for (int column = 0; column < count; ++column) {
    wchar_t text[128] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    captions.push_back(Utf8(text));
  }
  return captions;
}

RECT ListCellBounds(HWND list, int row, int column) {
  RECT cell{};
  cell.top = column;
  cell.left = LVIR_BOUNDS;
  SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  return cell;
}

std::vector<int> ListSelectedRows(HWND list) {
  std::vector<int> rows;
  int row = -1;
  while ((row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
    rows.push_back(row);
  }
  return rows;
}

void SelectListRow(HWND list, int row) {
  LVITEMW state{};
  state.stateMask = state.state = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

void ClickListRow(HWND list, int row, bool twice) {
  RECT bounds{LVIR_LABEL};
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
  const LPARAM point = MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2);
  PostMessageW(list, WM_MOUSEMOVE, 0, point);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(list, WM_LBUTTONUP, 0, point);
  if (twice) {
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageW(list, WM_LBUTTONUP, 0, point);
  }
}

namespace {

// The header of `list` and the middle of `column`'s caption in it.
std::pair<HWND, LPARAM> HeaderCentre(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  RECT bounds{};
  SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&bounds));
  return {header, MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2)};
}

}  // namespace

void ClickListHeader(HWND list, int column) {
  const auto [header, centre] = HeaderCentre(list, column);
  PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageW(header, WM_LBUTTONUP, 0, centre);
}

void ClickListHeaderAndWait(HWND list, int column) {
  const auto [header, centre] = HeaderCentre(list, column);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageW(header, WM_LBUTTONUP, 0, centre);
}

int ListImage(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  return SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
}

bool ListRowSelected(HWND list, int row) {
  return SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
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
  // SB_GETTEXT is told no size, and a script reads from its own thread while
  // the window's thread may set a longer text after any length it asked: the
  // buffer takes the most the message copies, 65,535 characters and the NUL.
  std::wstring text(65536, L'\0');
  SendMessageW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.data()));
  return Utf8(text.c_str());
}

std::string PickLastPopUpItem(HWND window, HWND list) {
  HWND menu = OpenPopUpMenu(
      window, [&] { PostMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(-1, -1)); });
  if (!menu) return "(no pop-up menu stayed up)";
  HMENU items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
  const int last = GetMenuItemCount(items) - 1;
  const std::string caption = MenuCaption(items, last);
  const bool greyed = (GetMenuState(items, static_cast<UINT>(last), MF_BYPOSITION) & MF_GRAYED) != 0;
  const bool afterSeparator = (GetMenuState(items, static_cast<UINT>(last - 1), MF_BYPOSITION) & MF_SEPARATOR) != 0;
  PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);  // from no item: the last one
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  if (!WaitForWindowGone(menu)) return "(the pop-up menu took no key)";
  return greyed || !afterSeparator ? "(greyed or not after a separator: " + caption + ")" : caption;
}

}  // namespace discovel::test
