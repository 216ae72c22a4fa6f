// The catalogue window's commands that change the catalogue (adding, editing
// and removing discs), the one that lists a disc's files and the export.
#include "browse/fmBrowse.h"
#include "browser/ArchiveEditing.h"
#include "browser/fmArchive.h"
#include "browser/fmEditArchive.h"
#include "catalog/ArchiveKeyWalk.h"
#include "check/win32/DiscCheckCommands.h"
#include "platform/AppError.h"
#include "drives/fmWaitCD.h"
#include "export/win32/CsvExport.h"
#include "search/fmDuplicates.h"
#include "scan/fmScan.h"
#include "search/fmSearch.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"
#include "update/win32/UpdateCommands.h"

namespace discovel {

void TfrmArchive::ActAddExecute() {
  if (m_activity == CatalogActivity::Listing) {
    m_addAfterLoad = true;  // run once the load is done
    return;
  }
  const auto run = RunningCommand();
  if (TfrmWaitCD::Execute(m_context, "") == kModalCancel) return;
  const std::string path = TfrmScan::Execute(m_context).savedArchive;
  if (path.empty() || !m_context.services.files.FileExists(path)) return;
  // Only the new row is read; it comes in selected, alone.
  ListView::RedrawSuspension quiet(m_listView1);
  m_listView1.ClearSelection();
  AddArchive(path, true);
  SortList();
  DrawResults();
}

void TfrmArchive::ActEditExecute() {
  const int row = FirstSelectedRow();
  if (row < 0) return;
  const CatalogRow& shown = m_rows.Row(static_cast<std::size_t>(row));
  ArchiveValues values{shown.mark, shown.location, shown.note};
  // The edit is for this archive, wherever its row stands when the dialog closes.
  const std::string path = shown.fileName;
  const auto run = RunningCommand();
  if (TfrmEditArchive::Execute(m_context, values) != kModalOk) return;
  if (!ChangeValuesInArchive(m_context.services.files, m_context.services.text, path, values.mark, values.location, values.note)) {
    ShowAlert(Handle(), "Cannot change archive values.");
    return;
  }
  RefreshKeySummary(m_context.services.files, m_context.services.text, m_context.run.catalogFolder);
  // The row shows the texts as typed, and stays where it is.
  if (const auto position = m_rows.PositionOf(path)) {
    m_rows.SetValues(*position, values.mark, values.location, values.note);
    m_listView1.RefreshRows();
  }
}

void TfrmArchive::ActDeleteExecute() {
  // The archives asked about are taken by their files: while the question is
  // open and while the removal pumps messages, a sort may move their rows.
  std::vector<std::string> files;
  for (int row : m_listView1.Selection()) files.push_back(m_rows.Row(static_cast<std::size_t>(row)).fileName);
  if (files.empty()) return;
  const int firstPosition = FirstSelectedRow();
  const auto run = RunningCommand();
  if (!Confirm(Handle(), RemovalQuestion(files.size(), m_rows.Row(static_cast<std::size_t>(firstPosition)).mark))) {
    return;
  }
  ListView::RedrawSuspension quiet(m_listView1);
  m_listView1.ClearSelection();
  const RemovalOutcome outcome = RemoveArchives(
      m_rows, files,
      [this](const std::string& path) { return m_context.services.files.RemoveFileWhateverItsAttributes(path); },
      [this] {
        m_listView1.SetRowCount(static_cast<int>(m_rows.Size()));
        PumpMessages();
      });
  if (!outcome.kept.empty()) {
    // The rows removed so far stay removed; the one that failed and the rest stay selected.
    for (const std::string& file : outcome.kept) {
      if (const auto position = m_rows.PositionOf(file)) m_listView1.SelectRow(static_cast<int>(*position), false);
    }
    ShowAlert(Handle(), "Cannot delete archive: " + outcome.failedMark);
  }
  RefreshKeySummary(m_context.services.files, m_context.services.text, m_context.run.catalogFolder);
  const int next = RowToSelectAfterRemoval(firstPosition, static_cast<int>(m_rows.Size()));
  if (next >= 0) m_listView1.SelectRow(next);
  DrawResults();
  SortList();
}

void TfrmArchive::ActFreshenCDExecute() {
  const int row = FirstSelectedRow();
  if (row < 0) return;
  // The disc's new archive shows at the next load of the catalogue.
  const std::string mark = m_rows.Row(static_cast<std::size_t>(row)).mark;
  const auto run = RunningCommand();
  if (TfrmWaitCD::Execute(m_context, std::string(kMsgInsertDiscMarked) + mark) == kModalCancel) return;
  TfrmScan::Execute(m_context);
}

void TfrmArchive::ActViewArchiveFilesExecute() {
  const int row = FirstSelectedRow();
  if (row < 0) return;
  const std::string mark = m_rows.Row(static_cast<std::size_t>(row)).mark;
  const auto run = RunningCommand();
  TfrmSearch::Execute(m_context, mark);
}

void TfrmArchive::ActBrowseArchiveExecute() {
  const int row = FirstSelectedRow();
  if (row < 0) return;
  const CatalogRow& shown = m_rows.Row(static_cast<std::size_t>(row));
  const std::string archive = shown.fileName;
  const std::string mark = shown.mark;
  const auto run = RunningCommand();
  TfrmBrowse::Execute(m_context, archive, mark);
}

void TfrmArchive::ActCheckDiscExecute() {
  const int row = FirstSelectedRow();
  if (row < 0) return;
  const CatalogRow& shown = m_rows.Row(static_cast<std::size_t>(row));
  // The check is of this archive, wherever its row stands when it ends.
  const CheckTarget target{shown.fileName, shown.mark};
  const auto run = RunningCommand();
  CheckCataloguedDisc(m_context, Handle(), target, [&] { ArchiveRewritten(target.archivePath); });
}

void TfrmArchive::ActUpdateArchiveExecute() {
  const int row = FirstSelectedRow();
  if (row < 0) return;
  const CatalogRow& shown = m_rows.Row(static_cast<std::size_t>(row));
  const std::string archive = shown.fileName;
  const auto run = RunningCommand();
  UpdateCataloguedArchive(m_context, Handle(), archive, shown.mark,
                          [&](const std::string& before, const std::string& now) { ArchiveRewritten(before, now); });
}

void TfrmArchive::ArchiveRewritten(const std::string& path) { ArchiveRewritten(path, path); }

void TfrmArchive::ArchiveRewritten(const std::string& before, const std::string& path) {
  RefreshKeySummary(m_context.services.files, m_context.services.text, m_context.run.catalogFolder);
  const auto position = m_rows.PositionOf(before);
  if (!position) return;
  try {
    m_rows.Replace(*position, ReadCatalogRow(m_context.services.files, m_context.services.text, path));
  } catch (const AppError&) {
    return;  // the row stays as it was; the next load says why
  }
  m_listView1.RefreshRows();
  DrawResults();
}

void TfrmArchive::ActFindDuplicatesExecute() {
  const auto run = RunningCommand();
  TfrmDuplicates::Execute(m_context);
}

void TfrmArchive::ActExportCsvExecute() {
  // The columns the details view shows, in its order: the archive file's
  // path, kept at no width, stays out.
  std::vector<ExportColumn> columns;
  std::vector<int> listColumns;
  for (int column = 0; column < kCatalogColumnCount; ++column) {
    if (column == kColFileName) continue;
    columns.push_back({kCatalogColumns[column].look.caption, kCatalogColumns[column].look.sort});
    listColumns.push_back(column);
  }
  const auto run = RunningCommand();
  // The rows are read once the file is chosen, in the order shown then: the
  // list shows row n of the rows as they stand.
  ExportListToCsv(Handle(), m_context, "catalogue", columns, m_rows.Size(), [&](std::size_t row, int column) {
    return std::string(CellOf(m_rows.Row(row), listColumns[static_cast<std::size_t>(column)]));
  });
}

}  // namespace discovel
