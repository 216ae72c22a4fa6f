// The list view wrapper on a real window, driven through the list's own messages.
#include "ui/ListView.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/AppError.h"
#include "platform/win32/WideText.h"
#include "support/win32/ErrorBoxCounter.h"
#include "support/win32/TestHostForm.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

std::vector<ListViewColumn> ThreeColumns() {
  return {{"Name", 120, 40, 150}, {"Size", 80, 30, 0, ListViewColumn::Align::Right}, {"Key", 0}};
}

// What the list itself answers LVM_GETITEMTEXTW with, into a buffer of `size`.
std::string TextFromList(HWND list, int row, int column, int size = 64) {
  std::wstring buffer(static_cast<std::size_t>(size), L'x');
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer.data();
  item.cchTextMax = size;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return Utf8(buffer.c_str());
}

HWND HeaderOf(const ListView& list) { return reinterpret_cast<HWND>(SendMessageW(list.Handle(), LVM_GETHEADER, 0, 0)); }

RECT HeaderItemRect(HWND header, int column) {
  RECT rect{};
  SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&rect));
  return rect;
}

// The user pressing the mouse on the right edge of `column`'s header and
// letting go at `toX`.
void DragDivider(HWND header, int column, int toX) {
  const RECT rect = HeaderItemRect(header, column);
  const int y = (rect.top + rect.bottom) / 2;
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.right - 1, y));
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, y));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(toX, y));
}

class ListViewTest : public testing::Test {
 protected:
  void SetUp() override { host.Create(); }

  void Create(bool ownerData) {
    list.Create({.form = &host, .id = 101, .bounds = {10, 10, 500, 300}, .ownerData = ownerData,
                 .columns = ThreeColumns()});
  }

  test::TestHostForm host;
  ListView list;
};

TEST_F(ListViewTest, AMillionOwnerDataRowsAskTheCallbackOnlyForTheCellsRead) {
  Create(true);
  std::set<int> rowsAsked;
  int calls = 0;
  list.SetCellTextSource([&](int row, int column) {
    ++calls;
    rowsAsked.insert(row);
    return "row " + std::to_string(row) + " col " + std::to_string(column);
  });
  list.SetRowCount(1'000'000);
  EXPECT_EQ(SendMessageW(list.Handle(), LVM_GETITEMCOUNT, 0, 0), 1'000'000);

  const int before = calls;
  EXPECT_EQ(TextFromList(list.Handle(), 0, 0), "row 0 col 0");
  EXPECT_EQ(TextFromList(list.Handle(), 499'999, 1), "row 499999 col 1");
  EXPECT_EQ(TextFromList(list.Handle(), 999'999, 2), "row 999999 col 2");
  EXPECT_EQ(calls - before, 3);
  EXPECT_TRUE(rowsAsked.count(999'999));
  // Painting may have asked for the rows in view, never for rows by the thousand.
  EXPECT_LT(calls, 200);
  // A cell longer than the list's buffer is cut to fit, with its terminator.
  EXPECT_EQ(TextFromList(list.Handle(), 123'456, 0, 8), "row 123");
  EXPECT_EQ(list.CellText(123'456, 1), "row 123456 col 1");
  EXPECT_THROW(list.AddRow({"one more"}), AppError);
  EXPECT_EQ(list.RowCount(), 1'000'000);
}

TEST_F(ListViewTest, AThrowingCellSourceGivesAnEmptyCellAndNoErrorBox) {
  Create(true);
  list.SetCellTextSource([](int row, int column) -> std::string {
    if (row == 5) throw AppError("Cannot read the result.");
    return "fine";
  });
  list.SetRowCount(10);
  test::ErrorBoxCounter boxes;
  EXPECT_EQ(TextFromList(list.Handle(), 5, 0), "");
  EXPECT_EQ(TextFromList(list.Handle(), 5, 1), "");
  EXPECT_EQ(TextFromList(list.Handle(), 6, 0), "fine");
  EXPECT_EQ(boxes.Stop(), 0);
}

TEST_F(ListViewTest, AClickOnAColumnHeaderReachesTheColumnClickEvent) {
  Create(false);
  std::vector<int> clicked;
  list.onColumnClick = [&](int column) { clicked.push_back(column); };
  const HWND header = HeaderOf(list);
  const RECT size = HeaderItemRect(header, 1);
  const LPARAM centre = MAKELPARAM((size.left + size.right) / 2, (size.top + size.bottom) / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageW(header, WM_LBUTTONUP, 0, centre);
  EXPECT_EQ(clicked, std::vector<int>{1});
}

TEST_F(ListViewTest, SelectedRowsComeInOrderAndEachChangeIsReported) {
  Create(true);
  list.SetRowCount(1'000'000);
  int changes = 0;
  list.onSelectionChanged = [&] { ++changes; };
  list.SelectRow(999'998, false);
  list.SelectRow(3, false);
  list.SelectRow(500'000, true);
  std::vector<int> rows;
  for (int row : list.Selection()) rows.push_back(row);
  EXPECT_EQ(rows, (std::vector<int>{3, 500'000, 999'998}));
  EXPECT_EQ(list.SelectedCount(), 3);
  EXPECT_EQ(list.FocusedRow(), 500'000);
  EXPECT_EQ(changes, 3);
  list.ClearSelection();
  EXPECT_EQ(list.SelectedCount(), 0);
  EXPECT_TRUE(list.Selection().begin() == list.Selection().end());
  EXPECT_GE(changes, 4);
}

TEST_F(ListViewTest, DraggedColumnWidthsStayInsideTheirLimits) {
  Create(false);
  const HWND header = HeaderOf(list);
  DragDivider(header, 0, 5);
  EXPECT_EQ(list.ColumnWidth(0), 40);
  DragDivider(header, 0, 400);
  EXPECT_EQ(list.ColumnWidth(0), 150);
  DragDivider(header, 1, HeaderItemRect(header, 1).left + 10);
  EXPECT_EQ(list.ColumnWidth(1), 30);
  // Set from outside the wrapper too; and a hidden column stays hidden.
  SendMessageW(list.Handle(), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(10, 0));
  EXPECT_EQ(list.ColumnWidth(0), 40);
  SendMessageW(list.Handle(), LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(80, 0));
  EXPECT_EQ(list.ColumnWidth(2), 0);
}

// The host moving to a screen of `dpi`, at twice its size.
void ChangeDpi(HWND host, UINT dpi) {
  RECT r{};
  GetWindowRect(host, &r);
  RECT suggested{r.left, r.top, r.left + (r.right - r.left) * 2, r.top + (r.bottom - r.top) * 2};
  SendMessageW(host, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(ListViewTest, ColumnWidthsAndTheirLimitsFollowTheFormsDpi) {
  Create(false);
  const UINT dpi = host.Dpi() * 2;
  const int width = list.ColumnWidth(1);
  ChangeDpi(host.Handle(), dpi);
  EXPECT_EQ(list.ColumnWidth(0), ScaleToDpi(120, dpi));
  EXPECT_EQ(list.ColumnWidth(1), width * 2);
  EXPECT_EQ(list.ColumnWidth(2), 0);
  // The limits are the new scale's too.
  const HWND header = HeaderOf(list);
  DragDivider(header, 0, 5);
  EXPECT_EQ(list.ColumnWidth(0), ScaleToDpi(40, dpi));
  list.SetColumnWidth(0, 1000);
  EXPECT_EQ(list.ColumnWidth(0), ScaleToDpi(150, dpi));

  // A list made now starts at the form's DPI.
  ListView second;
  second.Create({.form = &host, .id = 102, .bounds = {10, 320, 500, 100}, .columns = ThreeColumns()});
  EXPECT_EQ(second.ColumnWidth(0), ScaleToDpi(120, dpi));
  EXPECT_EQ(second.ColumnWidth(1), ScaleToDpi(80, dpi));
}

TEST_F(ListViewTest, RowsOfTheirOwnSortWithTheirData) {
  Create(false);
  list.AddRow({"beta", "2"}, 20);
  list.AddRow({"gamma", "3"}, 30);
  list.AddRow({"alpha", "1"}, 10);
  list.SetCell(1, 1, "three");
  list.Sort([&](int a, int b) { return list.CellText(a, 0).compare(list.CellText(b, 0)); });
  ASSERT_EQ(list.RowCount(), 3);
  EXPECT_EQ(list.CellText(0, 0), "alpha");
  EXPECT_EQ(list.CellText(2, 1), "three");
  EXPECT_EQ(list.RowData(0), 10);
  EXPECT_EQ(list.RowData(2), 30);
  EXPECT_THROW(list.Sort([](int, int) -> int { throw AppError("No order."); }), AppError);
  list.DeleteRow(0);
  EXPECT_EQ(list.CellText(0, 0), "beta");
}

TEST_F(ListViewTest, ADoubleClickOnARowActivatesIt) {
  Create(false);
  for (const char* name : {"a", "b", "c"}) list.AddRow({name});
  std::vector<int> activated;
  list.onItemActivate = [&](int row) { activated.push_back(row); };
  RECT bounds{LVIR_BOUNDS};
  SendMessageW(list.Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&bounds));
  const LPARAM point = MAKELPARAM(bounds.left + 20, (bounds.top + bounds.bottom) / 2);
  SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(list.Handle(), WM_LBUTTONUP, 0, point);
  SendMessageW(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, point);
  SendMessageW(list.Handle(), WM_LBUTTONUP, 0, point);
  EXPECT_EQ(activated, std::vector<int>{1});
}

LRESULT CALLBACK CountRedraws(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR log) {
  if (message == WM_SETREDRAW) reinterpret_cast<std::vector<WPARAM>*>(log)->push_back(wParam);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST_F(ListViewTest, NestedRedrawSuspensionsRepaintOnceAtTheEnd) {
  Create(false);
  std::vector<WPARAM> redraws;
  SetWindowSubclass(list.Handle(), CountRedraws, 77, reinterpret_cast<DWORD_PTR>(&redraws));
  {
    ListView::RedrawSuspension outer(list);
    {
      ListView::RedrawSuspension inner(list);
      list.AddRow({"row"});
    }
    EXPECT_EQ(redraws, std::vector<WPARAM>{FALSE});
  }
  EXPECT_EQ(redraws, (std::vector<WPARAM>{FALSE, TRUE}));
  RemoveWindowSubclass(list.Handle(), CountRedraws, 77);
}

// WM_SETREDRAW's default handling would make a hidden list visible again
// (Wine's list does not pass it on, Windows' does): none is sent to it.
TEST_F(ListViewTest, AHiddenListGetsNoRedrawMessageAndStaysHidden) {
  Create(false);
  ShowWindow(list.Handle(), SW_HIDE);
  std::vector<WPARAM> redraws;
  SetWindowSubclass(list.Handle(), CountRedraws, 77, reinterpret_cast<DWORD_PTR>(&redraws));
  {
    ListView::RedrawSuspension quiet(list);
    list.AddRow({"row"});
  }
  EXPECT_TRUE(redraws.empty());
  EXPECT_FALSE(GetWindowLongW(list.Handle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(list.RowCount(), 1);
  RemoveWindowSubclass(list.Handle(), CountRedraws, 77);
}

}  // namespace
}  // namespace discovel

namespace discovel {
namespace {

// The columns fill the list's width; rows that bring a vertical scroll bar
// leave room for it, so no horizontal one appears.
TEST(ListViewFit, ColumnsFitBesideTheScrollBarTheRowsBring) {
  test::TestHostForm host;
  host.Create();
  ListView list;
  list.Create({.form = &host, .id = 101, .bounds = {10, 10, 400, 200}, .ownerData = true,
               .columns = {{"Name", 100, 20, 0, ListViewColumn::Align::Left, 1},
                           {"Size", 95, 20, 95, ListViewColumn::Align::Right}}});
  list.SetCellTextSource([](int row, int column) { return column == 0 ? "file " + std::to_string(row) : "1"; });
  const auto columnsWidth = [&] { return list.ColumnWidth(0) + list.ColumnWidth(1); };
  const auto clientWidth = [&] {
    RECT client{};
    GetClientRect(list.Handle(), &client);
    return static_cast<int>(client.right);
  };
  list.FitColumns();
  EXPECT_EQ(columnsWidth(), clientWidth());
  const int withoutBar = clientWidth();

  list.SetRowCount(1000);  // far more than one page: the fitted list fits again
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(columnsWidth(), withoutBar - bar);
  EXPECT_EQ(list.ColumnWidth(1), 95) << "the kept column keeps its width";
  UpdateWindow(list.Handle());
  EXPECT_EQ(GetWindowLongW(list.Handle(), GWL_STYLE) & WS_HSCROLL, 0);
  EXPECT_LE(columnsWidth(), clientWidth());

  list.SetRowCount(2);
  EXPECT_EQ(columnsWidth(), withoutBar) << "the bar gone, the columns take its room again";
}

}  // namespace
}  // namespace discovel
