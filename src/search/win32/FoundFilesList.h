#pragma once
// The list of found files that the search, duplicates and check result
// windows show, with its commands: an owner-data list over a table of cell
// texts, its columns from the list's column table, sorted by a click on a
// column, and the commands that get a listed file back from its disc (Copy
// File, Execute File, with the wait for the disc), show its properties or
// export the list (Export to CSV), with their tool buttons at the right of
// the window's band and their menu items.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalog/ArchiveKeys.h"
#include "catalog/ColumnSort.h"
#include "platform/AppContext.h"
#include "search/FoundColumns.h"
#include "search/FoundFile.h"
#include "search/FoundRows.h"
#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/Menus.h"
#include "ui/core/ListColumns.h"

namespace discovel {

struct FoundListArgs {
  Form* form = nullptr;
  int id = 0;
  std::vector<FoundListColumn> columns;
  // The sort, kept in the run's state for the next opening.
  ColumnSortState* sort = nullptr;
  // True while the window searches: no file is fetched and nothing exported then.
  std::function<bool()> searching;
  // Names the list in the file name an export proposes: "search".
  const char* listWord = "";
  // Where the file of a row of the table is (none: nothing to get); unset:
  // at the mark, folder and name its properties show.
  std::function<std::optional<FileOnDisc>(std::size_t tableRow)> fileOf;
  // Adds to the properties of a table row what its columns do not show.
  std::function<void(std::size_t tableRow, PropretiesValues& values)> morePropreties;
  // Where Show in Folder finds the file of a table row in its archive (none:
  // not for that row); unset: where Copy File gets it.
  std::function<std::optional<FileOnDisc>(std::size_t tableRow)> placeOf;
  // A table that keeps its rows in an order of its own: sorts itself by the
  // column clicked and says where the table row `keep` went. Unset: the list
  // keeps an order of the table's rows.
  std::function<std::optional<std::size_t>(int column, bool flag, std::optional<std::size_t> keep)> sortTable;
  // A double click or Enter on a table row: true when it took the row (a
  // folder opened); else the row's properties show.
  std::function<bool(std::size_t tableRow)> openRow;
};

class FoundFilesList {
 public:
  explicit FoundFilesList(AppContext& context);
  FoundFilesList(const FoundFilesList&) = delete;
  FoundFilesList& operator=(const FoundFilesList&) = delete;

  // Makes the list, its tool buttons and its commands.
  void Create(const FoundListArgs& args);
  // The items of the list's pop-up menu for the file of a row, and for the export.
  static std::vector<MenuItem> FileMenuItems();
  static MenuItem ExportMenuItem();
  // Opens the browser on the row's archive at its file, selected.
  static MenuItem ShowInFolderMenuItem();

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
  // Selects the row shown at `row` alone, focused and in view.
  void SelectRow(std::size_t row);
  // What a double click does on the selected row (Enter in some lists).
  void OpenSelectedRow();

  // The first `count` columns (a group number) are shown only where they mean something.
  void ShowLeadingColumns(int count, bool shown);

 private:
  void AddCommands();
  // The file of the row shown at `row`, and what Properties shows of it.
  std::optional<FileOnDisc> FileOf(std::size_t row) const;
  PropretiesValues PropretiesOf(std::size_t row) const;
  bool FileToGet() const;
  bool OneRowInFocus() const;
  bool Exportable() const;
  void SortByColumn(int column);
  void GetFileThen(void (FoundFilesList::*action)(const std::string& path));
  // Where the file's archive came from: its disc, or a drive or folder.
  ArchiveSource SourceOfFile(const FileOnDisc& file) const;
  // The file from the drive or share it was catalogued on, wherever that is
  // mounted now, waiting for it to be connected.
  void GetFromDriveThen(const FileOnDisc& file, const ArchiveSource& source,
                        void (FoundFilesList::*action)(const std::string& path));
  void CopyToClipboard(const std::string& path);
  void OpenFile(const std::string& path);
  void ShowPropreties();
  void ShowInFolder();
  std::optional<FileOnDisc> PlaceOf(std::size_t row) const;
  void OpenRow(int row);
  void ExportCsv();
  int SelectedRow() const;
  bool Searching() const { return m_args.searching && m_args.searching(); }

  AppContext& m_context;
  FoundListArgs m_args;
  int m_hiddenLeading = 0;
  const FoundTable* m_table = nullptr;
  FoundRowOrder m_order;
  bool m_gettingFile = false;
  ListView m_list;
};

}  // namespace discovel
