// The search window's result list: its columns, sorting, which commands it
// allows, and getting a found file back from its disc.
#include "search/fmSearch.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <numeric>

#include "drives/DriveRules.h"
#include "drives/fmWaitCD.h"
#include "drives/win32/CdTray.h"
#include "drives/win32/Win32DriveQueries.h"
#include "platform/AppError.h"
#include "search/FoundFile.h"
#include "search/fmPropreties.h"
#include "search/fmSearchIds.h"
#include "search/win32/FileHandover.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

using namespace fmSearchIds;

// The sort outlives the window: the next opening starts where this one ended.
ColumnSortState g_sort;

const char* const kColumnCaptions[kResultColumns] = {"Archive", "Directory", "File", "Type", "Date Modified", "Size"};

}  // namespace

void TfrmSearch::BuildResultList() {
  using Align = ListViewColumn::Align;
  ListViewArgs args;
  args.form = this;
  args.id = kListView1;
  args.anchors = kAnchorAll;  // placed by the window's layout
  args.ownerData = true;
  args.multiSelect = false;
  args.columns = {{kColumnCaptions[0], 100, 20},      {kColumnCaptions[1], 150, 20},
                  {kColumnCaptions[2], 150, 20},      {kColumnCaptions[3], 60, 20, 72},
                  {kColumnCaptions[4], 120, 120, 120}, {kColumnCaptions[5], 95, 20, 95, Align::Right}};
  m_listView1.Create(args);
  m_listView1.SetCellTextSource([this](int row, int column) {
    return CellText(static_cast<std::size_t>(row), static_cast<ResultColumn>(column));
  });
  m_listView1.onColumnClick = [this](int column) { SortByColumn(column); };
  m_listView1.onSelectionChanged = [this] { KeyState(); };
  m_listView1.onFocusChanged = [this](bool) { KeyState(); };
  m_listView1.onDoubleClick = [this](int row) {
    if (row < 0) return;
    for (int selected : m_listView1.Selection()) {
      if (selected == row && ActPropreties.Execute()) KeyState();
    }
  };
}

std::string TfrmSearch::CellText(std::size_t row, ResultColumn column) const {
  return std::string(m_results.Cell(m_order.empty() ? row : m_order.at(row), column));
}

void TfrmSearch::FitColumns() {
  // The dates keep their width; Type and Size give way only when the three
  // text columns are down to their least. Pixels at the window's DPI.
  RECT client{};
  GetClientRect(m_listView1.Handle(), &client);
  const UINT dpi = Dpi();
  const int least = ScaleToDpi(20, dpi);
  const int textLeast = ScaleToDpi(60, dpi);
  const int date = ScaleToDpi(120, dpi);
  int type = ScaleToDpi(72, dpi);
  int size = ScaleToDpi(95, dpi);
  int rest = client.right - date - type - size;
  if (rest < textLeast) {
    const int shrink = std::min(textLeast - rest, (type - least) + (size - least));
    const int fromType = std::min(shrink / 2 + shrink % 2, type - least);
    type -= fromType;
    size -= shrink - fromType;
    rest = client.right - date - type - size;
  }
  const int archive = std::max(least, rest / 4);
  const int directory = std::max(least, (rest - archive) / 2);
  const int file = std::max(least, rest - archive - directory);
  const int widths[kResultColumns] = {archive, directory, file, type, date, size};
  for (int column = 0; column < kResultColumns; ++column) m_listView1.SetColumnWidth(column, widths[column]);
}

void TfrmSearch::KeyState() {
  const HWND focus = GetFocus();
  const bool listFocused = focus == m_listView1.Handle() || IsToolButton(focus);
  const bool oneRowInFocus = listFocused && m_listView1.SelectedCount() == 1;
  ActCopyFile.SetEnabled(oneRowInFocus);
  ActExecuteFile.SetEnabled(oneRowInFocus);
  ActPropreties.SetEnabled(oneRowInFocus);
}

void TfrmSearch::SortByColumn(int column) {
  if (column < 0 || column >= kResultColumns) return;
  g_sort.ClickColumn(column);
  if (m_results.Empty()) return;
  // The selected row stays selected wherever the sort puts it.
  const int selected = m_listView1.SelectedCount() == 1 ? *m_listView1.Selection().begin() : -1;
  const std::uint32_t selectedRow =
      selected < 0 ? 0 : (m_order.empty() ? static_cast<std::uint32_t>(selected) : m_order.at(selected));
  if (m_order.empty()) {
    m_order.resize(m_results.RowCount());
    std::iota(m_order.begin(), m_order.end(), 0u);
  }
  HCURSOR old = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  try {
    SortResultRows(m_order, m_results, static_cast<ResultColumn>(column), SortKindOf(kColumnCaptions[column]),
                   g_sort.flag, m_context.services.text);
  } catch (const std::bad_alloc&) {
    SetCursor(old);
    throw AppError("There is not enough memory to sort the results.");
  }
  SetCursor(old);
  if (selected >= 0) {
    const auto at = std::find(m_order.begin(), m_order.end(), selectedRow);
    m_listView1.ClearSelection();
    m_listView1.SelectRow(static_cast<int>(at - m_order.begin()));
  }
  m_listView1.RefreshRows();
}

std::string TfrmSearch::GetFullFilePathFromList() const {
  const int row = *m_listView1.Selection().begin();
  if (row < 0) throw AppError("No file is selected.");
  const auto index = static_cast<std::size_t>(row);
  return DiscPathOf(m_context.run.readDevice, CellText(index, ResultColumn::kDirectory),
                    CellText(index, ResultColumn::kFile));
}

void TfrmSearch::GetFileThen(void (TfrmSearch::*action)(const std::string& path)) {
  // The wait for the disc lets messages through: a second click on Copy or
  // Execute File arriving then is refused, not run inside this one.
  if (m_busy || m_gettingFile) return;
  const int row = *m_listView1.Selection().begin();
  if (row < 0) return;
  m_gettingFile = true;
  struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{m_gettingFile};
  const std::string path = GetFullFilePathFromList();
  DiscRequest request;
  request.discInDrive = [](char drive) { return DiscInDrive(SystemDriveQueries(), drive); };
  request.fileExists = [this](const std::string& file) { return m_context.services.files.FileExists(file); };
  request.openTray = [](char drive) {
    PumpMessages();
    OpenCdTray(drive);
  };
  request.waitForDisc = [this](const std::string& message) { return TfrmWaitCD::Execute(m_context, message); };
  request.alert = [this](std::string_view text) { ShowAlert(Handle(), text); };
  if (BringFileWithinReach(m_context.run.readDevice, path,
                           CellText(static_cast<std::size_t>(row), ResultColumn::kArchive), request)) {
    (this->*action)(path);
  }
}

void TfrmSearch::CopyToClipboard(const std::string& path) {
  if (!PutFileOnClipboard(Handle(), path)) {
    ShowAlert(Handle(), "The file could not be put on the clipboard.");
    return;
  }
  ShowAlert(Handle(), "Your file is ready in clipboard, paste it where you desire.");
}

void TfrmSearch::OpenFile(const std::string& path) {
  try {
    PumpMessages();
    OpenWithShell(path);
  } catch (...) {
  }
}

void TfrmSearch::ShowPropreties() {
  const int row = *m_listView1.Selection().begin();
  if (row < 0) return;
  const auto index = static_cast<std::size_t>(row);
  PropretiesValues values;
  values.mark = CellText(index, ResultColumn::kArchive);
  values.directory = CellText(index, ResultColumn::kDirectory);
  values.file = CellText(index, ResultColumn::kFile);
  values.type = CellText(index, ResultColumn::kType);
  values.date = CellText(index, ResultColumn::kDateModified);
  values.size = CellText(index, ResultColumn::kSize);
  TfrmPropreties::Execute(values);
}


}  // namespace discovel
