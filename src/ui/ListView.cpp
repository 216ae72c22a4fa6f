#include "ui/ListView.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <exception>

#include "platform/AppError.h"
#include "platform/win32/WideText.h"
#include "ui/Dpi.h"

namespace discovel {
namespace {

constexpr int kFewRows = 1000;

struct SortState {
  const std::function<int(int, int)>* compare;
  std::exception_ptr error;
};

// The list view calls this from inside LVM_SORTITEMSEX: nothing may escape.
int CALLBACK CompareRows(LPARAM rowA, LPARAM rowB, LPARAM statePointer) {
  auto& state = *reinterpret_cast<SortState*>(statePointer);
  if (state.error) return 0;
  try {
    return (*state.compare)(static_cast<int>(rowA), static_cast<int>(rowB));
  } catch (...) {
    state.error = std::current_exception();
    return 0;
  }
}

}  // namespace

ListView::~ListView() { Destroy(); }

void ListView::Create(const ListViewArgs& args) {
  if (!args.form || !args.form->Handle()) throw AppError("A list view needs a window.");
  DWORD style = WS_TABSTOP | static_cast<DWORD>(args.view) | LVS_SHAREIMAGELISTS;
  if (args.ownerData) style |= LVS_OWNERDATA;
  if (!args.multiSelect) style |= LVS_SINGLESEL;
  if (args.showSelectionAlways) style |= LVS_SHOWSELALWAYS;
  if (!args.headerButtons) style |= LVS_NOSORTHEADER;
  ChildWindow::Create(args.form->Handle(), WC_LISTVIEWW, args.id, args.bounds, style, WS_EX_CLIENTEDGE,
                      ICC_LISTVIEW_CLASSES, args.anchors);
  m_dpi = WindowDpi(Handle());
  m_view = args.view;
  m_ownerData = args.ownerData;
  // Double buffering (common controls 6) keeps a fast-growing list from
  // flickering; older lists ignore the flag.
  DWORD extended = LVS_EX_DOUBLEBUFFER;
  if (args.fullRowSelect) extended |= LVS_EX_FULLROWSELECT;
  if (args.gridLines) extended |= LVS_EX_GRIDLINES;
  if (args.headerDragDrop) extended |= LVS_EX_HEADERDRAGDROP;
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  m_columns = args.columns;
  for (const ListViewColumn& column : m_columns) m_madeWidths.push_back(column.width);
  InsertColumns();
  args.form->RouteNotifications(Handle(), this);
}

void ListView::InsertColumns() {
  for (std::size_t i = 0; i < m_columns.size(); ++i) {
    const ListViewColumn& column = m_columns[i];
    std::wstring caption = Wide(column.caption);
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    header.fmt = column.align == ListViewColumn::Align::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
    header.cx = LimitWidth(static_cast<int>(i), ScaleToDpi(column.width, m_dpi));
    header.pszText = caption.data();
    header.iSubItem = static_cast<int>(i);
    if (Send(LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&header)) < 0) throw AppError("Cannot add a column.");
  }
}

LRESULT ListView::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendMessageW(Handle(), message, wParam, lParam);
}

void ListView::SetView(ListViewMode view) {
  // Common controls 5 lack LVM_SETVIEW; their view is the style's type, which
  // has the same values for these four views.
  if (Send(LVM_SETVIEW, static_cast<WPARAM>(view)) == -1) {
    const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    SetWindowLongW(Handle(), GWL_STYLE, (style & ~LVS_TYPEMASK) | static_cast<LONG>(view));
  }
  m_view = view;
}

void ListView::SetImageLists(HIMAGELIST large, HIMAGELIST small) {
  Send(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
  Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
}

int ListView::ColumnWidth(int column) const { return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, column)); }

void ListView::SetColumnWidth(int column, int width) {
  Send(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LimitWidth(column, width), 0));
}

void ListView::SetColumnHidden(int column, bool hidden) {
  if (column < 0 || column >= ColumnCount()) return;
  ListViewColumn& limits = m_columns[static_cast<std::size_t>(column)];
  limits.width = hidden ? 0 : m_madeWidths[static_cast<std::size_t>(column)];
  Send(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(ScaleToDpi(limits.width, m_dpi), 0));
}

void ListView::FitColumns() {
  m_fitted = true;
  if (m_view != ListViewMode::Details) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  // The client area leaves out a scroll bar shown now; the fit counts the
  // one the rows need, shown or not yet.
  const int bar = SystemMetricAt(SM_CXVSCROLL, m_dpi);
  int width = client.right;
  if (GetWindowLongW(Handle(), GWL_STYLE) & WS_VSCROLL) width += bar;
  const int perPage = static_cast<int>(Send(LVM_GETCOUNTPERPAGE));
  if (RowCount() > perPage) width -= bar;
  std::vector<FittedColumn> fitted;
  for (int column = 0; column < ColumnCount(); ++column) {
    const ListViewColumn& look = m_columns[static_cast<std::size_t>(column)];
    fitted.push_back({{look.width, look.minWidth, look.maxWidth, look.share, look.keepsDragged},
                      ColumnWidth(column), look.width == 0});
  }
  const std::vector<int> widths = FitColumnWidths(fitted, std::max(0, width), m_dpi);
  for (int column = 0; column < ColumnCount(); ++column) SetColumnWidth(column, widths[static_cast<std::size_t>(column)]);
}

int ListView::LimitWidth(int column, int width) const {
  if (column < 0 || column >= ColumnCount()) return width;
  const ListViewColumn& limits = m_columns[static_cast<std::size_t>(column)];
  if (limits.width == 0) return 0;
  width = std::max(width, ScaleToDpi(limits.minWidth, m_dpi));
  return limits.maxWidth > 0 ? std::min(width, ScaleToDpi(limits.maxWidth, m_dpi)) : width;
}

void ListView::FollowDpi(UINT dpi) {
  // Every column keeps its share of the list: its width, dragged or set,
  // scales with the DPI, inside the limits at the new DPI.
  const UINT old = m_dpi;
  m_dpi = dpi;
  for (int column = 0; column < ColumnCount(); ++column) {
    const int width = MulDiv(ColumnWidth(column), static_cast<int>(dpi), static_cast<int>(old));
    Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(LimitWidth(column, width), 0));
  }
}

bool ListView::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // A change of its form's DPI reaches the list as the font at the new DPI.
  if (message == WM_SETFONT && WindowDpi(Handle()) != m_dpi) {
    result = DefSubclassProc(Handle(), message, wParam, lParam);
    FollowDpi(WindowDpi(Handle()));
    return true;
  }
  if (message == WM_SETFOCUS) {
    result = DefSubclassProc(Handle(), message, wParam, lParam);
    ShowKeyboardRow();
    return true;
  }
  if (message == WM_PAINT && !m_emptyText.empty() && RowCount() == 0) {
    // Drawn after the list's own painting, every time: a text drawn once
    // would go with the next repaint.
    result = DefSubclassProc(Handle(), message, wParam, lParam);
    DrawEmptyText();
    return true;
  }
  // The header tells the list view, not the form, about widths changing.
  if (message != WM_NOTIFY) return false;
  auto& header = *reinterpret_cast<NMHEADERW*>(lParam);
  if (header.hdr.hwndFrom != reinterpret_cast<HWND>(Send(LVM_GETHEADER))) return false;
  return OnHeaderNotify(header, result);
}

bool ListView::OnHeaderNotify(NMHEADERW& header, LRESULT& result) {
  const int column = header.iItem;
  if (column < 0 || column >= ColumnCount()) return false;
  const bool hidden = m_columns[static_cast<std::size_t>(column)].width == 0;
  switch (header.hdr.code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW:
      // A hidden column neither tracks nor sizes itself to its contents.
      if (!hidden) return false;
      result = TRUE;
      return true;
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW: {
      // The A and W items share their leading fields: mask, then cxy.
      if (!header.pitem || !(header.pitem->mask & HDI_WIDTH)) return false;
      const int limited = LimitWidth(column, header.pitem->cxy);
      if (limited == header.pitem->cxy) return false;
      // Not every header takes a width changed here back: this change is
      // refused and the nearest width inside the limits set instead.
      if (ColumnWidth(column) != limited) Send(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(limited, 0));
      result = TRUE;
      return true;
    }
    case HDN_TRACKA:
    case HDN_TRACKW:
      // Refusing would end the tracking; the track line stops at the limit.
      if (header.pitem && (header.pitem->mask & HDI_WIDTH)) {
        header.pitem->cxy = LimitWidth(column, header.pitem->cxy);
      }
      return false;
    default:
      return false;
  }
}

void ListView::SetRowCount(int rows) {
  const int before = RowCount();
  const WPARAM flags = rows >= before ? LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL : 0;
  Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), static_cast<LPARAM>(flags));
  // Rows that bring or take away the vertical scroll bar change the width
  // a fitted list's columns share.
  if (m_fitted) {
    const int perPage = static_cast<int>(Send(LVM_GETCOUNTPERPAGE));
    if ((before > perPage) != (rows > perPage)) FitColumns();
  }
  if (GetFocus() == Handle()) ShowKeyboardRow();
}

void ListView::ShowKeyboardRow() {
  // A focused list shows the row the keys act on: its selected row, else
  // its first. Without one the arrow keys would start from nowhere.
  if (RowCount() == 0 || FocusedRow() >= 0) return;
  const int selected = *Selection().begin();
  LVITEMW item{};
  item.stateMask = item.state = LVIS_FOCUSED;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(selected >= 0 ? selected : 0), reinterpret_cast<LPARAM>(&item));
}

void ListView::RefreshRows() { InvalidateRect(Handle(), nullptr, FALSE); }

std::string ListView::SafeCellText(int row, int column) const {
  if (!m_cellText) return {};
  // Painting asks for every visible cell: a failing source must not raise an
  // error box for each of them.
  try {
    return m_cellText(row, column);
  } catch (...) {
    return {};
  }
}

void ListView::AnswerDispInfo(LVITEMW& item) const {
  // Every row shows the first picture of the image list its view uses,
  // unless its window tells another.
  if (item.mask & LVIF_IMAGE) {
    item.iImage = 0;
    if (m_rowPicture) {
      try {
        item.iImage = m_rowPicture(item.iItem);
      } catch (...) {
      }
    }
  }
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const std::wstring wide = Wide(SafeCellText(item.iItem, item.iSubItem));
  const std::size_t length = std::min(wide.size(), static_cast<std::size_t>(item.cchTextMax - 1));
  std::wmemcpy(item.pszText, wide.data(), length);
  item.pszText[length] = L'\0';
}

int ListView::AddRow(const std::vector<std::string>& texts, LPARAM data) {
  // A virtual list would only count the row up, with no text of its own.
  if (m_ownerData) throw AppError("The rows of a virtual list come from its row count.");
  std::wstring first = Wide(texts.empty() ? std::string() : texts[0]);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = RowCount();
  item.pszText = first.data();
  item.lParam = data;
  const int row = static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) throw AppError("Cannot add a row to the list.");
  for (std::size_t column = 1; column < texts.size(); ++column) {
    SetCell(row, static_cast<int>(column), texts[column]);
  }
  return row;
}

void ListView::SetCell(int row, int column, const std::string& text) {
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

LPARAM ListView::RowData(int row) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  return Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

void ListView::SetRowImage(int row, int image) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = image;
  Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int ListView::RowImage(int row) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  return Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
}

void ListView::SetEmptyText(std::string text) {
  m_emptyText = std::move(text);
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void ListView::DrawEmptyText() {
  HDC dc = GetDC(Handle());
  if (!dc) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(Send(WM_GETFONT)));
  const SIZE text = TextExtent(dc, m_emptyText);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  const std::wstring wide = Wide(m_emptyText);
  TextOutW(dc, (client.right - text.cx) / 2, (client.bottom + 10 - text.cy) / 2, wide.c_str(),
           static_cast<int>(wide.size()));
  SelectObject(dc, oldFont);
  ReleaseDC(Handle(), dc);
}

void ListView::DeleteRow(int row) { Send(LVM_DELETEITEM, static_cast<WPARAM>(row)); }

void ListView::DeleteAllRows() { Send(LVM_DELETEALLITEMS); }

void ListView::Sort(const std::function<int(int, int)>& compare) {
  SortState state{&compare, nullptr};
  Send(LVM_SORTITEMSEX, reinterpret_cast<WPARAM>(&state), reinterpret_cast<LPARAM>(&CompareRows));
  if (state.error) std::rethrow_exception(state.error);
}

int ListView::RowCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

std::string ListView::CellText(int row, int column) const {
  // The answer is the length copied: a full buffer may have cut the text.
  std::wstring text(256, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto length = static_cast<std::size_t>(Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                                      reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < text.size()) {
      text.resize(length);
      return Utf8(text);
    }
    text.resize(text.size() * 4);
  }
}

ListView::SelectedRows::Iterator& ListView::SelectedRows::Iterator::operator++() {
  m_row = static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(m_row), LVNI_SELECTED));
  return *this;
}

ListView::SelectedRows::Iterator ListView::SelectedRows::begin() const {
  Iterator first(m_list, -1);
  return m_list ? ++first : first;
}

int ListView::SelectedCount() const { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT)); }

int ListView::FocusedRow() const { return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)); }

void ListView::SelectRow(int row, bool focus) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | (focus ? LVIS_FOCUSED : 0);
  item.state = item.stateMask;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  if (focus) Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void ListView::ClearSelection() {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  // Some lists walk every row to deselect "all rows", a million of them in a
  // virtual list: a few selected rows are cleared one by one instead.
  if (SelectedCount() > kFewRows) {
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    return;
  }
  for (int row : Selection()) Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListView::TakeTabStop(bool hasRows) {
  const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
  const LONG wanted = hasRows ? style | WS_TABSTOP : style & ~WS_TABSTOP;
  // A style change makes the list lay out all its rows again.
  if (wanted != style) SetWindowLongW(Handle(), GWL_STYLE, wanted);
}

POINT ListView::PopupMenuPoint(LPARAM position) const {
  if (position != -1) return POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  RECT item{LVIR_BOUNDS};
  const int focused = FocusedRow();
  if (focused < 0 || !Send(LVM_GETITEMRECT, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&item))) {
    item = RECT{};
  }
  POINT at{item.left + 8, item.bottom};
  ClientToScreen(Handle(), &at);
  return at;
}

bool ListView::OnNotify(const NMHDR& header, LRESULT& result) {
  if (!Handle()) return false;  // going away: its events may reach freed state
  auto* raw = const_cast<NMHDR*>(&header);
  switch (header.code) {
    case LVN_GETDISPINFOW:
      AnswerDispInfo(reinterpret_cast<NMLVDISPINFOW*>(raw)->item);
      return true;
    case LVN_ODFINDITEMW:
      result = -1;  // typing does not jump to a row of a virtual list
      return true;
    case LVN_COLUMNCLICK:
      if (onColumnClick) onColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return true;
    case LVN_ITEMACTIVATE: {
      // Older lists give no row for Enter: the focused row is meant.
      int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
      if (row < 0) row = FocusedRow();
      if (row >= 0 && onItemActivate) onItemActivate(row);
      return true;
    }
    case NM_DBLCLK: {
      if (!onDoubleClick) return false;
      // The row under the pointer where the click happened, whatever column.
      LVHITTESTINFO hit{};
      hit.pt = reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction;
      const int row = static_cast<int>(Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      onDoubleClick(row >= 0 && (hit.flags & LVHT_ONITEM) ? row : -1);
      return false;  // item activation follows as usual
    }
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) &&
          onSelectionChanged) {
        onSelectionChanged();
      }
      return true;
    }
    case LVN_ODSTATECHANGED: {
      // An owner-data list reports a range selected at once (shift-click).
      const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
      if (((change.uOldState ^ change.uNewState) & LVIS_SELECTED) && onSelectionChanged) onSelectionChanged();
      return true;
    }
    case NM_SETFOCUS:
    case NM_KILLFOCUS:
      if (onFocusChanged) onFocusChanged(header.code == NM_SETFOCUS);
      return true;
    case LVN_KEYDOWN:
      if (onKeyDown) onKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
      return true;
    default:
      return false;
  }
}

}  // namespace discovel
