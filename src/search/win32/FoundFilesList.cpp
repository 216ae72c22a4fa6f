#include "search/win32/FoundFilesList.h"

#include <algorithm>
#include <new>

#include "app/ShellLauncher.h"
#include "browse/fmBrowse.h"
#include "catalog/DosTime.h"
#include "catalog/NumberFormat.h"
#include "drives/DriveRules.h"
#include "catalog/CatalogQueries.h"
#include "catalog/KeySummary.h"
#include "drives/fmWaitCD.h"
#include "drives/fmWaitDrive.h"
#include "drives/win32/CdTray.h"
#include "drives/win32/Win32DriveQueries.h"
#include "export/win32/CsvExport.h"
#include "platform/AppError.h"
#include "platform/ScopeExit.h"
#include "scan/DiscIdentity.h"
#include "scan/NamesOnDisc.h"
#include "search/FoundFile.h"
#include "search/fmPropreties.h"
#include "search/win32/FileHandover.h"
#include "search/win32/FoundFileIds.h"
#include "ui/Controls.h"
#include "ui/Cursors.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"
#include "ui/WindowPump.h"
#include "ui/core/DesignLayout.h"

namespace discovel {

namespace {

using namespace foundFileIds;

constexpr int kButtonSize = 25;  // as high as the band

}  // namespace

FoundFilesList::FoundFilesList(AppContext& context) : m_context(context) {}

void FoundFilesList::Create(const FoundListArgs& args) {
  m_args = args;
  ListViewArgs list;
  list.form = args.form;
  list.id = args.id;
  list.anchors = kAnchorAll;  // placed by the window's layout
  list.ownerData = true;
  list.multiSelect = false;
  for (const FoundListColumn& column : args.columns) list.columns.push_back(ListViewColumn::Of(column.look));
  m_list.Create(list);
  m_list.SetCellTextSource([this](int row, int column) { return CellText(static_cast<std::size_t>(row), column); });
  m_list.onColumnClick = [this](int column) { SortByColumn(column); };
  m_list.onSelectionChanged = [this] { m_args.form->KeyState(); };
  m_list.onFocusChanged = [this](bool) { m_args.form->KeyState(); };
  m_list.onDoubleClick = [this](int row) {
    if (row >= 0 && row == SelectedRow()) OpenRow(row);
  };
  AddCommands();
}

void FoundFilesList::AddCommands() {
  Form& form = *m_args.form;
  CommandTable& commands = form.Commands();
  commands.Add({.id = kBtnCopyFile,
                .caption = "Copy File",
                .picture = ButtonPicture::CopyFile,
                .run = [this] { GetFileThen(&FoundFilesList::CopyToClipboard); },
                .enabled = [this] { return FileToGet(); }});
  commands.Add({.id = kExecuteFile,
                .caption = "Execute File",
                .run = [this] { GetFileThen(&FoundFilesList::OpenFile); },
                .enabled = [this] { return FileToGet(); }});
  commands.Add({.id = kPropreties,
                .caption = "Propreties",
                .run = [this] { ShowPropreties(); },
                .enabled = [this] { return OneRowInFocus(); }});
  commands.Add({.id = kShowInFolder,
                .caption = "Show in Folder",
                .run = [this] { ShowInFolder(); },
                .enabled = [this] {
                  return OneRowInFocus() && !Searching() &&
                         PlaceOf(static_cast<std::size_t>(SelectedRow())).has_value();
                }});
  commands.Add({.id = kBtnExportCsv,
                .caption = "Export to CSV...",
                .hint = "Export to CSV",
                .picture = ButtonPicture::ExportCsv,
                .run = [this] { ExportCsv(); },
                .enabled = [this] { return Exportable(); }});
  // Copy File works on the list's row: a click leaves the focus there.
  const int right = form.DesignClient().width;
  form.BindButton(CreateToolButton(form.Handle(), kBtnExportCsv, right - 2 * kButtonSize, 0, kButtonSize,
                                   kAnchorTopRight));
  form.BindButton(CreateToolButton(form.Handle(), kBtnCopyFile, right - kButtonSize, 0, kButtonSize,
                                   kAnchorTopRight));
}

std::vector<MenuItem> FoundFilesList::FileMenuItems() {
  return {Item(kBtnCopyFile, MenuItem::kDefault), Item(kExecuteFile), Separator(), Item(kPropreties)};
}

MenuItem FoundFilesList::ExportMenuItem() { return Item(kBtnExportCsv); }

MenuItem FoundFilesList::ShowInFolderMenuItem() { return Item(kShowInFolder); }

void FoundFilesList::OpenRow(int row) {
  if (m_args.openRow && m_args.openRow(m_order.Row(static_cast<std::size_t>(row)))) return;
  Action* propreties = m_args.form->Commands().ForCommand(kPropreties);
  if (propreties->Execute()) m_args.form->KeyState();
}

void FoundFilesList::OpenSelectedRow() {
  if (m_list.SelectedCount() == 1) OpenRow(SelectedRow());
}

void FoundFilesList::SelectRow(std::size_t row) {
  m_list.ClearSelection();
  if (row >= RowCount()) return;
  m_list.SelectRow(static_cast<int>(row));  // focused, and scrolled into view
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

int FoundFilesList::SelectedRow() const { return *m_list.Selection().begin(); }

std::optional<FileOnDisc> FoundFilesList::FileOf(std::size_t row) const {
  if (!m_table) return std::nullopt;
  if (m_args.fileOf) return m_args.fileOf(m_order.Row(row));
  const PropretiesValues values = PropretiesOf(row);
  FileOnDisc file;
  file.mark = values.mark;
  file.directory = values.directory;
  file.file = values.file;
  // The row's size and time, read back from its cells, tell the file among
  // names the archive stores alike.
  const TextServices& text = m_context.services.text;
  file.archived.namesInCodePage = m_table->NamesInCodePage(m_order.Row(row));
  file.archived.size = ParseFormattedCount(values.size, text.ThousandsSeparator());
  if (const auto moment = ParseDisplayDateTime(values.date, text.DateSeparator(), text.TimeSeparator())) {
    file.archived.dosTime = PackDosDateTime(*moment);
  }
  return file;
}

PropretiesValues FoundFilesList::PropretiesOf(std::size_t row) const {
  PropretiesValues values;
  if (!m_table) return values;
  for (std::size_t column = 0; column < m_args.columns.size(); ++column) {
    if (const auto property = m_args.columns[column].property) values.*property = CellText(row, static_cast<int>(column));
  }
  if (m_args.morePropreties) m_args.morePropreties(m_order.Row(row), values);
  return values;
}

void FoundFilesList::ShowLeadingColumns(int count, bool shown) {
  const int hidden = shown ? 0 : count;
  if (hidden == m_hiddenLeading) return;
  m_hiddenLeading = hidden;
  for (int column = 0; column < count; ++column) m_list.SetColumnHidden(column, !shown);
  m_list.FitColumns();
}

bool FoundFilesList::OneRowInFocus() const {
  const HWND focus = GetFocus();
  const bool listFocused = focus == m_list.Handle() || IsToolButton(focus);
  return listFocused && m_list.SelectedCount() == 1;
}

bool FoundFilesList::FileToGet() const {
  return OneRowInFocus() && FileOf(static_cast<std::size_t>(SelectedRow())).has_value();
}

bool FoundFilesList::Exportable() const { return RowCount() != 0 && !Searching() && !m_gettingFile; }

void FoundFilesList::SortByColumn(int column) {
  if (column < 0 || column >= static_cast<int>(m_args.columns.size())) return;
  m_args.sort->ClickColumn(column);
  if (RowCount() == 0) return;
  // The selected row stays selected wherever the sort puts it.
  const int selected = m_list.SelectedCount() == 1 ? SelectedRow() : -1;
  const HCURSOR old = SetCursor(SystemCursor(IDC_WAIT));
  std::optional<std::size_t> moved;
  {
    ScopeExit restoreCursor([old] { SetCursor(old); });
    const std::optional<std::size_t> keep =
        selected < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(selected));
    try {
      moved = m_args.sortTable ? m_args.sortTable(column, m_args.sort->flag, keep)
                               : m_order.Sort(*m_table, column, m_args.columns[column].look.sort, m_args.sort->flag,
                                              m_context.services.text, keep);
    } catch (const std::bad_alloc&) {
      throw AppError("There is not enough memory to sort the results.");
    }
  }
  if (moved) {
    m_list.ClearSelection();
    m_list.SelectRow(static_cast<int>(*moved));
  }
  m_list.RefreshRows();
}

void FoundFilesList::GetFileThen(void (FoundFilesList::*action)(const std::string& path)) {
  // The wait for the disc lets messages through: a second click on Copy or
  // Execute File arriving then is refused, not run inside this one.
  if (Searching() || m_gettingFile) return;
  const int row = SelectedRow();
  if (row < 0) return;
  m_gettingFile = true;
  // The commands a fetch holds back come back with it: the focus that the
  // wait and the message boxes hand back to the list made KeyState run while
  // the fetch was still on.
  ScopeExit done([this] {
    m_gettingFile = false;
    m_args.form->KeyState();
  });
  const std::optional<FileOnDisc> file = FileOf(static_cast<std::size_t>(row));
  if (!file) return;
  if (const ArchiveSource source = SourceOfFile(*file); source.kind != SourceKind::kDisc) {
    GetFromDriveThen(*file, source, action);
    return;
  }
  const std::string path = DiscPathOf(m_context.run.readDevice, file->directory, file->file);
  const HWND owner = m_args.form->Handle();
  DiscRequest request;
  request.askForDisc = file->askForDisc;
  request.discInDrive = [](char drive) { return DiscInDrive(SystemDriveQueries(), drive); };
  // The archive keeps names trimmed of blanks; the disc's own name is looked for.
  const std::string root{m_context.run.readDevice, ':', '\\'};
  const ArchivedAs& archived = file->archived;
  const StoredAs stored{archived.namesInCodePage ? &m_context.services.text : nullptr, archived.size, archived.dosTime};
  const auto asOnDisc = [this, root, &file, &stored] {
    return FindAsOnDisc(m_context.services.files, root, file->directory, file->file, stored);
  };
  request.fileExists = [&asOnDisc](const std::string&) { return asOnDisc().has_value(); };
  if (!file->archivePath.empty()) {
    // A disc is known by its listing: the disc walk keeps the windows alive.
    request.isDiscAskedFor = [this, archive = file->archivePath](char drive) {
      WindowPump pump;
      return DiscHoldsArchive(m_context.services.files, m_context.services.text, pump, std::string{drive, ':', '\\'}, archive);
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

ArchiveSource FoundFilesList::SourceOfFile(const FileOnDisc& file) const {
  FileSystem& fs = m_context.services.files;
  const TextServices& text = m_context.services.text;
  try {
    if (!file.archivePath.empty()) return SourceOfKeyValues(ReadArchiveKeyValues(fs, file.archivePath, text));
    return SourceOfMark(fs, text, m_context.run.catalogFolder, file.mark);
  } catch (const AppError&) {
    // An archive that cannot be read now is asked for as a disc, as ever.
    return {};
  }
}

void FoundFilesList::GetFromDriveThen(const FileOnDisc& file, const ArchiveSource& source,
                                      void (FoundFilesList::*action)(const std::string& path)) {
  const HWND owner = m_args.form->Handle();
  const std::optional<std::string> root = TfrmWaitDrive::PathNow(source, file.mark, owner);
  if (!root) return;
  const ArchivedAs& archived = file.archived;
  const StoredAs stored{archived.namesInCodePage ? &m_context.services.text : nullptr, archived.size, archived.dosTime};
  if (const auto path = FindAsOnDisc(m_context.services.files, *root, file.directory, file.file, stored)) {
    (this->*action)(*path);
    return;
  }
  ShowAlert(owner, std::string(kMsgNotOnTheDrive) + file.mark);
}

void FoundFilesList::CopyToClipboard(const std::string& path) {
  if (!PutFileOnClipboard(m_args.form->Handle(), path)) {
    ShowAlert(m_args.form->Handle(), "The file could not be put on the clipboard.");
    return;
  }
  ShowAlert(m_args.form->Handle(), "Your file is ready in clipboard, paste it where you desire.");
}

void FoundFilesList::OpenFile(const std::string& path) {
  try {
    PumpMessages();
    // The plain path, not its extended form: a program the shell starts for
    // the file may not take "\\?\".
    ShellLauncher& shell = m_context.services.shell ? *m_context.services.shell : SystemShell();
    shell.Launch(m_args.form->Handle(), nullptr, path);
  } catch (...) {
  }
}

void FoundFilesList::ShowPropreties() {
  const int row = SelectedRow();
  if (row < 0) return;
  TfrmPropreties::Execute(PropretiesOf(static_cast<std::size_t>(row)));
}

std::optional<FileOnDisc> FoundFilesList::PlaceOf(std::size_t row) const {
  if (!m_table || row >= RowCount()) return std::nullopt;
  return m_args.placeOf ? m_args.placeOf(m_order.Row(row)) : FileOf(row);
}

void FoundFilesList::ShowInFolder() {
  const int row = SelectedRow();
  if (row < 0 || Searching()) return;
  if (const std::optional<FileOnDisc> file = PlaceOf(static_cast<std::size_t>(row))) {
    ShowFileInItsFolder(m_context, *file);
  }
}

void FoundFilesList::ExportCsv() {
  if (!Exportable()) return;
  // The columns shown, in their order: hidden leading ones stay out.
  std::vector<ExportColumn> columns;
  std::vector<int> listColumns;
  for (int column = m_hiddenLeading; column < static_cast<int>(m_args.columns.size()); ++column) {
    columns.push_back({m_args.columns[column].look.caption, m_args.columns[column].look.sort});
    listColumns.push_back(column);
  }
  ExportListToCsv(m_args.form->Handle(), m_context, m_args.listWord, columns, RowCount(),
                  [&](std::size_t row, int column) { return CellText(row, listColumns[column]); });
}

}  // namespace discovel
