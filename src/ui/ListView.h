#pragma once
// A list view in report, list or icon view. Columns come from a table and keep
// their widths inside their limits, also while the user drags them. In
// owner-data mode the list holds only a row count and asks a callback for the
// text of the cells it shows, so a million rows cost no per-row window work;
// otherwise rows are added one by one (a few hundred, sortable).
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/ChildWindow.h"
#include "ui/Form.h"
#include "ui/core/ListColumns.h"

namespace discovel {

enum class ListViewMode {
  Icon = LV_VIEW_ICON,
  SmallIcon = LV_VIEW_SMALLICON,
  List = LV_VIEW_LIST,
  Details = LV_VIEW_DETAILS,
};

// Widths and limits are design units (pixels at 96 DPI): the list scales them
// to its form's DPI when it is made and again when that DPI changes.
struct ListViewColumn {
  using Align = ColumnAlign;
  std::string caption;
  int width = 100;   // 0: a hidden column, which the user cannot drag open
  int minWidth = 0;
  int maxWidth = 0;  // 0: no upper limit
  Align align = Align::Left;
  // How FitColumns sizes it (see FitColumnWidths).
  int share = 0;
  bool keepsDragged = false;

  static ListViewColumn Of(const ColumnLook& look) {
    return {look.caption, look.width.width, look.width.least, look.width.most, look.align, look.width.share,
            look.width.keepsDragged};
  }
};

struct ListViewArgs {
  Form* form = nullptr;
  int id = 0;
  ControlBounds bounds;
  unsigned anchors = kAnchorTopLeft;
  bool ownerData = false;
  ListViewMode view = ListViewMode::Details;
  bool multiSelect = true;
  bool showSelectionAlways = true;  // the selection stays visible without the focus
  bool fullRowSelect = true;
  bool gridLines = false;
  bool headerButtons = true;  // column headers can be clicked (column click event)
  bool headerDragDrop = false;
  std::vector<ListViewColumn> columns;
};

class ListView final : public ChildWindow, public NotifyTarget {
 public:
  // Text of one cell of an owner-data list; what it throws shows as an empty cell.
  using CellTextSource = std::function<std::string(int row, int column)>;

  ListView() = default;
  ~ListView() override;

  // Throws AppError when the control cannot be created.
  void Create(const ListViewArgs& args);

  void SetView(ListViewMode view);
  ListViewMode View() const { return m_view; }
  // The list only uses them: whoever made them destroys them after the list.
  void SetImageLists(HIMAGELIST large, HIMAGELIST small);

  int ColumnCount() const { return static_cast<int>(m_columns.size()); }
  // In pixels, as the list shows it; a width set is kept inside the column's
  // limits at the list's DPI.
  int ColumnWidth(int column) const;
  void SetColumnWidth(int column, int width);
  // A hidden column has no width and cannot be dragged open; shown again it
  // takes the design width it was made with.
  void SetColumnHidden(int column, bool hidden);
  // Sizes the columns by their rules (FitColumnWidths) to the list's width,
  // less the vertical scroll bar its rows bring or will bring, so that no
  // horizontal one appears. Only the details view has columns to fit. Once
  // fitted, the list fits them again when its rows bring or take away the
  // vertical scroll bar.
  void FitColumns();

  // Owner-data mode. Growing the count keeps the rows shown and the scroll
  // position (results arriving); shrinking it repaints everything.
  void SetRowCount(int rows);
  void SetCellTextSource(CellTextSource source) { m_cellText = std::move(source); }
  // Which picture of the image lists a row shows; unset: the first for all.
  void SetRowPictureSource(std::function<int(int row)> source) { m_rowPicture = std::move(source); }
  // Repaints the rows shown, when the texts behind them changed.
  void RefreshRows();

  // Rows of their own (not owner-data). AddRow returns the new row's index;
  // `data` stays with the row whatever the sort does with it. Throws
  // AppError on an owner-data list or when the row cannot be added.
  int AddRow(const std::vector<std::string>& texts, LPARAM data = 0);
  void SetCell(int row, int column, const std::string& text);
  LPARAM RowData(int row) const;
  // The picture of the image list that the row shows.
  void SetRowImage(int row, int image);
  int RowImage(int row) const;
  void DeleteRow(int row);
  // Orders the rows by `compare` (negative, zero, positive), which gets row
  // indices as the list holds them during the sort. What it throws comes out
  // of Sort.
  void Sort(const std::function<int(int rowA, int rowB)>& compare);

  // Both modes.
  // Drawn by the list's own painting, at every paint, while it has no rows:
  // centred across, a little below the middle. Empty: nothing.
  void SetEmptyText(std::string text);
  int RowCount() const;
  std::string CellText(int row, int column) const;
  void DeleteAllRows();

  // The selected rows in order, for a range-for.
  class SelectedRows {
   public:
    class Iterator {
     public:
      Iterator(HWND list, int row) : m_list(list), m_row(row) {}
      int operator*() const { return m_row; }
      Iterator& operator++();
      bool operator==(const Iterator& other) const { return m_row == other.m_row; }

     private:
      HWND m_list;
      int m_row;
    };
    explicit SelectedRows(HWND list) : m_list(list) {}
    Iterator begin() const;
    Iterator end() const { return Iterator(m_list, -1); }

   private:
    HWND m_list;
  };
  SelectedRows Selection() const { return SelectedRows(Handle()); }
  int SelectedCount() const;
  int FocusedRow() const;  // -1: none
  // Selects `row` besides the rows selected already; with `focus` it also
  // becomes the focused row and is scrolled into view.
  void SelectRow(int row, bool focus = true);
  void ClearSelection();

  // Where the list's pop-up menu opens (screen coordinates) for a
  // WM_CONTEXTMENU at `position`: there, or beside the focused row when the
  // keyboard asked for it.
  POINT PopupMenuPoint(LPARAM position) const;
  // An empty list is skipped by the Tab key; one with rows takes its turn.
  void TakeTabStop(bool hasRows);

  // Events.
  std::function<void(int column)> onColumnClick;
  std::function<void(int row)> onItemActivate;  // double click or Enter
  std::function<void(int row)> onDoubleClick;   // the row under the pointer; -1: none
  std::function<void()> onSelectionChanged;
  std::function<void(bool focused)> onFocusChanged;
  std::function<void(UINT virtualKey)> onKeyDown;

  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 protected:
  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  void InsertColumns();
  // `width` pixels inside the limits of `column` at the list's DPI.
  int LimitWidth(int column, int width) const;
  void FollowDpi(UINT dpi);
  bool OnHeaderNotify(NMHEADERW& header, LRESULT& result);
  std::string SafeCellText(int row, int column) const;
  void AnswerDispInfo(LVITEMW& item) const;
  void ShowKeyboardRow();
  void DrawEmptyText();

  std::vector<ListViewColumn> m_columns;
  std::vector<int> m_madeWidths;  // each column's design width as made
  UINT m_dpi = kDesignDpi;  // the DPI the columns' pixel widths are at
  ListViewMode m_view = ListViewMode::Details;
  bool m_ownerData = false;
  bool m_fitted = false;  // its window fits its columns: row counts refit them
  CellTextSource m_cellText;
  std::function<int(int row)> m_rowPicture;
  std::string m_emptyText;
};

}  // namespace discovel
