#include "search/win32/FoundFilesList.h"

#include <algorithm>
#include <new>

#include "drives/DriveRules.h"
#include "drives/fmWaitCD.h"
#include "drives/win32/CdTray.h"
#include "drives/win32/Win32DriveQueries.h"
#include "export/win32/CsvExport.h"
#include "platform/AppError.h"
#include "scan/DiscIdentity.h"
#include "scan/NamesOnDisc.h"
#include "search/FoundFile.h"
#include "search/fmPropreties.h"
#include "search/win32/FileHandover.h"
#include "ui/Controls.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"
#include "ui/WindowPump.h"
#include "ui/core/DesignLayout.h"

namespace discovel {

std::vector<FoundListColumn> FoundFileColumns() {
  using Align = ListViewColumn::Align;
  return {{{"Archive", 100, 20}},
          {{"Directory", 150, 20}},
          {{"File", 150, 20}},
          {{"Type", 60, 20, 72}},
          {{"Date Modified", 120, 120, 120}, SortKind::Date},
          {{"Size", 95, 20, 95, Align::Right}, SortKind::Number}};
}

FoundFilesList::FoundFilesList(AppContext& context) : m_context(context) {}

void FoundFilesList::Create(const FoundListArgs& args) {
  m_form = args.form;
  m_columns = args.columns;
  m_firstFileColumn = args.firstFileColumn;
  m_sort = args.sort;
  m_searching = args.searching;
  m_listWord = args.listWord;
  m_fileOf = args.fileOf;
  m_propretiesOf = args.propretiesOf;
  m_columnWidths = args.columnWidths;

  ActCopyFile.SetOnExecute([this] { GetFileThen(&FoundFilesList::CopyToClipboard); });
  ActExecuteFile.SetOnExecute([this] { GetFileThen(&FoundFilesList::OpenFile); });
  ActPropreties.SetOnExecute([this] { ShowPropreties(); });
  ActExportCsv.SetOnExecute([this] { ExportCsv(); });

  ListViewArgs list;
  list.form = args.form;
  list.id = args.id;
  list.anchors = kAnchorAll;  // placed by the window's layout
  list.ownerData = true;
  list.multiSelect = false;
  for (const FoundListColumn& column : m_columns) list.columns.push_back(column.look);
  m_list.Create(list);
  m_list.SetCellTextSource([this](int row, int column) { return CellText(static_cast<std::size_t>(row), column); });
  m_list.onColumnClick = [this](int column) { SortByColumn(column); };
  m_list.onSelectionChanged = [this] { m_form->KeyState(); };
  m_list.onFocusChanged = [this](bool) { m_form->KeyState(); };
  m_list.onDoubleClick = [this](int row) {
    if (row >= 0 && row == SelectedRow() && ActPropreties.Execute()) m_form->KeyState();
  };
}

void FoundFilesList::AddCommands(CommandTable& commands, const FoundListCommandIds& ids) {
  commands.Add({ids.copyFile, &ActCopyFile, "Copy File", "Copy File", {}, ButtonPicture::CopyFile});
  commands.Add({ids.executeFile, &ActExecuteFile, "Execute File", "Execute File"});
  commands.Add({ids.propreties, &ActPropreties, "Propreties"});
  commands.Add({ids.exportCsv, &ActExportCsv, "Export to CSV...", "Export to CSV", {}, ButtonPicture::ExportCsv});
}

void FoundFilesList::ShowRows(const FoundTable* table) {
  ListView::RedrawSuspension quiet(m_list);
  m_list.SetRowCount(0);
  m_order.Clear();
  m_table = table;
  m_list.SetRowCount(static_cast<int>(RowCount()));
  m_list.TakeTabStop(RowCount() != 0);
}

std::string FoundFilesList::CellText(std::size_t row, int column) const {
  if (!m_table) return {};
  return std::string(m_table->Cell(m_order.Row(row), column));
}

std::string FoundFilesList::FileCell(std::size_t row, ResultColumn column) const {
  return CellText(row, m_firstFileColumn + static_cast<int>(column));
}

int FoundFilesList::SelectedRow() const { return *m_list.Selection().begin(); }

std::optional<FileOnDisc> FoundFilesList::FileOf(std::size_t row) const {
  if (m_fileOf) return m_table ? m_fileOf(m_order.Row(row)) : std::nullopt;
  FileOnDisc file;
  file.mark = FileCell(row, ResultColumn::kArchive);
  file.directory = FileCell(row, ResultColumn::kDirectory);
  file.file = FileCell(row, ResultColumn::kFile);
  return file;
}

PropretiesValues FoundFilesList::PropretiesOf(std::size_t row) const {
  if (m_propretiesOf) return m_table ? m_propretiesOf(m_order.Row(row)) : PropretiesValues{};
  PropretiesValues values;
  values.mark = FileCell(row, ResultColumn::kArchive);
  values.directory = FileCell(row, ResultColumn::kDirectory);
  values.file = FileCell(row, ResultColumn::kFile);
  values.type = FileCell(row, ResultColumn::kType);
  values.date = FileCell(row, ResultColumn::kDateModified);
  values.size = FileCell(row, ResultColumn::kSize);
  return values;
}

void FoundFilesList::FitColumns() {
  RECT client{};
  GetClientRect(m_list.Handle(), &client);
  const UINT dpi = m_form->Dpi();
  if (!m_columnWidths) {
    FitSearchColumns(client.right, dpi);
    return;
  }
  const std::vector<int> widths = m_columnWidths(client.right, dpi);
  for (std::size_t column = 0; column < widths.size() && column < m_columns.size(); ++column) {
    m_list.SetColumnWidth(static_cast<int>(column), widths[column]);
  }
}

void FoundFilesList::FitSearchColumns(int width, UINT dpi) {
  // The dates and the leading columns keep their width; Type and Size give
  // way only when the three text columns are down to their least. Pixels at
  // the window's DPI.
  int leading = 0;
  for (int column = 0; column < m_firstFileColumn; ++column) {
    if (!m_leadingShown) continue;
    const int width = ScaleToDpi(m_columns[column].look.width, dpi);
    m_list.SetColumnWidth(column, width);
    leading += width;
  }
  const int least = ScaleToDpi(20, dpi);
  const int textLeast = ScaleToDpi(60, dpi);
  const int date = ScaleToDpi(120, dpi);
  int type = ScaleToDpi(72, dpi);
  int size = ScaleToDpi(95, dpi);
  const int space = width - leading;
  int rest = space - date - type - size;
  if (rest < textLeast) {
    const int shrink = std::min(textLeast - rest, (type - least) + (size - least));
    const int fromType = std::min(shrink / 2 + shrink % 2, type - least);
    type -= fromType;
    size -= shrink - fromType;
    rest = space - date - type - size;
  }
  const int archive = std::max(least, rest / 4);
  const int directory = std::max(least, (rest - archive) / 2);
  const int file = std::max(least, rest - archive - directory);
  const int widths[kResultColumns] = {archive, directory, file, type, date, size};
  for (int column = 0; column < kResultColumns; ++column) {
    m_list.SetColumnWidth(m_firstFileColumn + column, widths[column]);
  }
}

void FoundFilesList::ShowLeadingColumns(bool shown) {
  if (shown == m_leadingShown) return;
  m_leadingShown = shown;
  for (int column = 0; column < m_firstFileColumn; ++column) m_list.SetColumnHidden(column, !shown);
  FitColumns();
}

void FoundFilesList::KeyState() {
  const HWND focus = GetFocus();
  const bool listFocused = focus == m_list.Handle() || IsToolButton(focus);
  const bool oneRowInFocus = listFocused && m_list.SelectedCount() == 1;
  const bool fileToGet = oneRowInFocus && FileOf(static_cast<std::size_t>(SelectedRow())).has_value();
  ActCopyFile.SetEnabled(fileToGet);
  ActExecuteFile.SetEnabled(fileToGet);
  ActPropreties.SetEnabled(oneRowInFocus);
  ActExportCsv.SetEnabled(RowCount() != 0 && !(m_searching && m_searching()) && !m_gettingFile);
}

void FoundFilesList::SortByColumn(int column) {
  if (column < 0 || column >= static_cast<int>(m_columns.size())) return;
  m_sort->ClickColumn(column);
  if (RowCount() == 0) return;
  // The selected row stays selected wherever the sort puts it.
  const int selected = m_list.SelectedCount() == 1 ? SelectedRow() : -1;
  HCURSOR old = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  std::optional<std::size_t> moved;
  try {
    moved = m_order.Sort(*m_table, column, m_columns[column].kind, m_sort->flag, m_context.services.text,
                         selected < 0 ? std::nullopt : std::optional<std::size_t>(selected));
  } catch (const std::bad_alloc&) {
    SetCursor(old);
    throw AppError("There is not enough memory to sort the results.");
  }
  SetCursor(old);
  if (moved) {
    m_list.ClearSelection();
    m_list.SelectRow(static_cast<int>(*moved));
  }
  m_list.RefreshRows();
}

void FoundFilesList::GetFileThen(void (FoundFilesList::*action)(const std::string& path)) {
  // The wait for the disc lets messages through: a second click on Copy or
  // Execute File arriving then is refused, not run inside this one.
  if ((m_searching && m_searching()) || m_gettingFile) return;
  const int row = SelectedRow();
  if (row < 0) return;
  m_gettingFile = true;
  // The commands a fetch holds back come back with it: the focus that the
  // wait and the message boxes hand back to the list made KeyState run while
  // the fetch was still on.
  struct Done {
    FoundFilesList& list;
    ~Done() {
      list.m_gettingFile = false;
      list.KeyState();
    }
  } done{*this};
  const std::optional<FileOnDisc> file = FileOf(static_cast<std::size_t>(row));
  if (!file) return;
  const std::string path = DiscPathOf(m_context.run.readDevice, file->directory, file->file);
  const HWND owner = m_form->Handle();
  DiscRequest request;
  request.askForDisc = file->askForDisc;
  request.discInDrive = [](char drive) { return DiscInDrive(SystemDriveQueries(), drive); };
  // The archive keeps names trimmed of blanks; the disc's own name is looked for.
  const std::string root{m_context.run.readDevice, ':', '\\'};
  const auto asOnDisc = [this, root, &file] {
    return FindAsOnDisc(m_context.services.files, root, file->directory, file->file);
  };
  request.fileExists = [&asOnDisc](const std::string&) { return asOnDisc().has_value(); };
  if (!file->archivePath.empty()) {
    // A disc is known by its listing: the disc walk keeps the windows alive.
    request.isDiscAskedFor = [this, archive = file->archivePath](char drive) {
      WindowPump pump;
      return DiscHoldsArchive(m_context.services.files, pump, std::string{drive, ':', '\\'}, archive);
    };
  }
  request.openTray = [](char drive) {
    PumpMessages();
    OpenCdTray(drive);
  };
  const DiscWanted wanted = file->askForDisc ? DiscWanted::kAnotherDisc : DiscWanted::kNewDisc;
  request.waitForDisc = [this, wanted](const std::string& message) {
    return TfrmWaitCD::Execute(m_context, message, nullptr, wanted);
  };
  request.alert = [owner](std::string_view text) { ShowAlert(owner, text); };
  if (BringFileWithinReach(m_context.run.readDevice, path, file->mark, request)) {
    (this->*action)(asOnDisc().value_or(path));
  }
}

void FoundFilesList::CopyToClipboard(const std::string& path) {
  if (!PutFileOnClipboard(m_form->Handle(), path)) {
    ShowAlert(m_form->Handle(), "The file could not be put on the clipboard.");
    return;
  }
  ShowAlert(m_form->Handle(), "Your file is ready in clipboard, paste it where you desire.");
}

void FoundFilesList::OpenFile(const std::string& path) {
  try {
    PumpMessages();
    OpenWithShell(path);
  } catch (...) {
  }
}

void FoundFilesList::ShowPropreties() {
  const int row = SelectedRow();
  if (row < 0) return;
  TfrmPropreties::Execute(PropretiesOf(static_cast<std::size_t>(row)));
}

void FoundFilesList::ExportCsv() {
  if (RowCount() == 0 || (m_searching && m_searching()) || m_gettingFile) return;
  // The columns shown, in their order: hidden leading ones stay out.
  std::vector<ExportColumn> columns;
  std::vector<int> listColumns;
  for (int column = m_leadingShown ? 0 : m_firstFileColumn; column < static_cast<int>(m_columns.size()); ++column) {
    columns.push_back({m_columns[column].look.caption, m_columns[column].kind});
    listColumns.push_back(column);
  }
  ExportListToCsv(m_form->Handle(), m_context, m_listWord, columns, RowCount(),
                  [&](std::size_t row, int column) { return CellText(row, listColumns[column]); });
}

}  // namespace discovel
