#pragma once
// The list of found files that the search, duplicates and check result
// windows show: an owner-data list over a table of cell texts, sorted by a
// click on a column, and the commands that get a listed file back from its
// disc (Copy File, Execute File, with the wait for the disc) or show its
// properties. Its columns are the search results' unless the window says
// otherwise. The window it lives in gives it the table to show, routes its
// commands through its command table and asks it for its KeyState.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalog/ColumnSort.h"
#include "platform/AppContext.h"
#include "search/FoundFile.h"
#include "search/FoundRows.h"
#include "search/SearchResults.h"
#include "search/fmPropreties.h"
#include "ui/Action.h"
#include "ui/CommandTable.h"
#include "ui/Form.h"
#include "ui/ListView.h"

namespace discovel {

struct FoundListColumn {
  ListViewColumn look;
  SortKind kind = SortKind::Text;
};

// The search results' columns: Archive, Directory, File, Type, Date Modified, Size.
std::vector<FoundListColumn> FoundFileColumns();

struct FoundListArgs {
  Form* form = nullptr;
  int id = 0;
  std::vector<FoundListColumn> columns;
  // Where the search results' columns begin; those before it lead (a group number).
  int firstFileColumn = 0;
  // The sort, kept by the window for the rest of the run.
  ColumnSortState* sort = nullptr;
  // True while the window searches: no file is fetched then.
  std::function<bool()> searching;
  // Names the list in the file name an export proposes: "search".
  const char* listWord = "";
  // A list whose columns are not the search results' tells, for a row of its
  // table, where its file is (none: nothing to get), what Properties shows,
  // and the columns' widths in pixels for the list's client width at a DPI.
  std::function<std::optional<FileOnDisc>(std::size_t tableRow)> fileOf;
  std::function<PropretiesValues(std::size_t tableRow)> propretiesOf;
  std::function<std::vector<int>(int clientWidth, UINT dpi)> columnWidths;
};

struct FoundListCommandIds {
  UINT copyFile = 0;
  UINT executeFile = 0;
  UINT propreties = 0;
  UINT exportCsv = 0;
};

class FoundFilesList {
 public:
  explicit FoundFilesList(AppContext& context);
  FoundFilesList(const FoundFilesList&) = delete;
  FoundFilesList& operator=(const FoundFilesList&) = delete;

  void Create(const FoundListArgs& args);
  void AddCommands(CommandTable& commands, const FoundListCommandIds& ids);

  Action ActCopyFile;
  Action ActExecuteFile;
  Action ActPropreties;
  Action ActExportCsv;

  ListView& List() { return m_list; }
  HWND Handle() const { return m_list.Handle(); }

  // The rows of `table` in the order found; null lists nothing. The table
  // must stay unchanged while it is shown.
  void ShowRows(const FoundTable* table);
  std::size_t RowCount() const { return m_table ? m_table->RowCount() : 0; }
  // The text of a cell of the row shown at `row`.
  std::string CellText(std::size_t row, int column) const;
  // A Copy or Execute File is waiting for its disc.
  bool GettingFile() const { return m_gettingFile; }

  // The leading columns (a group number) are shown only where they mean something.
  void ShowLeadingColumns(bool shown);
  // Widths for the list's present size: the dates and leading columns keep
  // theirs, the text columns share the rest.
  void FitColumns();
  void KeyState();

 private:
  std::string FileCell(std::size_t row, ResultColumn column) const;
  // The file of the row shown at `row`, and what Properties shows of it.
  std::optional<FileOnDisc> FileOf(std::size_t row) const;
  PropretiesValues PropretiesOf(std::size_t row) const;
  void FitSearchColumns(int width, UINT dpi);
  void SortByColumn(int column);
  void GetFileThen(void (FoundFilesList::*action)(const std::string& path));
  void CopyToClipboard(const std::string& path);
  void OpenFile(const std::string& path);
  void ShowPropreties();
  void ExportCsv();
  int SelectedRow() const;

  AppContext& m_context;
  Form* m_form = nullptr;
  std::vector<FoundListColumn> m_columns;
  int m_firstFileColumn = 0;
  bool m_leadingShown = true;
  const char* m_listWord = "";
  ColumnSortState* m_sort = nullptr;
  std::function<bool()> m_searching;
  std::function<std::optional<FileOnDisc>(std::size_t)> m_fileOf;
  std::function<PropretiesValues(std::size_t)> m_propretiesOf;
  std::function<std::vector<int>(int, UINT)> m_columnWidths;
  const FoundTable* m_table = nullptr;
  FoundRowOrder m_order;
  bool m_gettingFile = false;
  ListView m_list;
};

}  // namespace discovel
