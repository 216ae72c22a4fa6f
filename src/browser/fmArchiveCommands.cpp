// The catalogue window's commands that change the catalogue (adding, editing
// and removing discs) and the one that lists a disc's files.
#include "browser/ArchiveEditing.h"
#include "browser/fmArchive.h"
#include "browser/fmEditArchive.h"
#include "drives/fmWaitCD.h"
#include "scan/fmScan.h"
#include "search/fmSearch.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"

namespace discovel {

void TfrmArchive::ActAddExecute() {
  m_context.lastSavedArchive.clear();
  if (TfrmWaitCD::Execute(m_context, "") == kModalCancel) return;
  TfrmScan::Execute(m_context);
  const std::string path = m_context.lastSavedArchive;
  if (path.empty() || !m_context.files.FileExists(path)) return;
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
  const auto position = static_cast<std::size_t>(row);
  const CatalogRow& shown = m_rows.Row(position);
  ArchiveValues values{shown.mark, shown.location, shown.note};
  const std::string path = shown.fileName;
  if (TfrmEditArchive::Execute(m_context, values) != kModalOk) return;
  if (!ChangeValuesInArchive(m_context.files, path, values.mark, values.location, values.note)) {
    ShowAlert(Handle(), "Cannot change archive values.");
    return;
  }
  // The row shows the texts as typed, and stays where it is.
  m_rows.SetValues(position, values.mark, values.location, values.note);
  m_listView1.RefreshRows();
}

void TfrmArchive::ActDeleteExecute() {
  std::vector<int> selected;
  for (int row : m_listView1.Selection()) selected.push_back(row);
  if (selected.empty()) return;
  const int firstPosition = selected.front();
  if (!Confirm(Handle(), RemovalQuestion(selected.size(), m_rows.Row(static_cast<std::size_t>(firstPosition)).mark))) {
    return;
  }
  ListView::RedrawSuspension quiet(m_listView1);
  m_listView1.ClearSelection();
  // Rows removed so far shift the later ones up.
  std::size_t removed = 0;
  std::vector<int> kept;  // selected rows left alone after a failure, where they are now
  for (std::size_t i = 0; i < selected.size(); ++i) {
    const auto position = static_cast<std::size_t>(selected[i]) - removed;
    const CatalogRow& row = m_rows.Row(position);
    if (!m_context.files.RemoveFileWhateverItsAttributes(row.fileName)) {
      // The rows removed so far stay removed; this one and the rest stay.
      for (std::size_t j = i; j < selected.size(); ++j) kept.push_back(selected[j] - static_cast<int>(removed));
      ShowAlert(Handle(), "Cannot delete archive: " + row.mark);
      break;
    }
    m_rows.RemoveAt(position);
    ++removed;
    m_listView1.SetRowCount(static_cast<int>(m_rows.Size()));
    PumpMessages();
  }
  for (int row : kept) m_listView1.SelectRow(row, false);
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
  if (TfrmWaitCD::Execute(m_context, "Insert CD/DVD marked: " + mark) == kModalCancel) return;
  TfrmScan::Execute(m_context);
}

void TfrmArchive::ActViewArchiveFilesExecute() {
  const int row = FirstSelectedRow();
  if (row < 0) return;
  TfrmSearch::Execute(m_context, m_rows.Row(static_cast<std::size_t>(row)).mark);
}

}  // namespace discovel
