#pragma once
// The catalogue window: one row per archive of the catalogue with its totals
// in the status bar; adds, edits and removes discs, and lists one disc's files
// in the search window.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/CatalogCommands.h"
#include "browser/CatalogList.h"
#include "platform/AppContext.h"
#include "platform/ScopeExit.h"
#include "platform/win32/Handles.h"
#include "ui/Action.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/ToolWindow.h"
#include "ui/WindowPump.h"

namespace discovel {

class TfrmArchive final : public ToolWindow {
 public:
  // Does nothing while a catalogue window is open already.
  static int Execute(AppContext& context);
  explicit TfrmArchive(AppContext& context);
  ~TfrmArchive() override;
  void Create();

  // Reads every archive under `folder` again; the rows stay in walk order.
  void ScanArchive(const std::string& folder);
  // Reads one archive and appends its row; with `select` it becomes the
  // selected and focused row. Throws AppError when the archive cannot be read.
  void AddArchive(const std::string& path, bool select);
  // The summary of the totals in the status bar.
  void DrawResults();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;

 private:
  void BuildCommands();
  void BuildToolButtons();
  void BuildList();
  // The list's disc pictures at the window's DPI.
  void MakeDiscPictures();
  void OnResized() override { SortList(); }
  void OnDpiChanged() override;
  // Closing: a load in progress reads no further folder.
  void OnClosing() override { m_stop = true; }
  bool Busy() const override { return m_loading; }
  // What the commands that need the list allow now.
  CatalogCommandStates States() const;
  bool Idle() const { return m_activity == CatalogActivity::Idle; }
  void TimScanTimer();
  void ReportUnreadable(const std::vector<std::string>& failures);

  // View styles: Icon, Small Icon, List, Details.
  void ApplyViewStyle(std::size_t style);
  void ApplyStoredViewStyle();
  void SetListViewStyle(std::string_view valueName, std::string_view styleText, ListViewMode mode);
  void ActViewToggleExecute();

  // Sorting, keeping the selected rows selected.
  void SortList();
  void ListView1ColumnClick(int column);
  int FirstSelectedRow() const;

  // Changing the catalogue.
  void ActAddExecute();
  void ActEditExecute();
  void ActDeleteExecute();
  void ActFreshenCDExecute();
  void ActViewArchiveFilesExecute();
  // Writes the list as shown to a CSV file the user chooses.
  void ActExportCsvExecute();
  void ActFindDuplicatesExecute();
  void ActCheckDiscExecute();
  void ActBrowseArchiveExecute();
  void ActUpdateArchiveExecute();
  // The archive at `path` was written anew: its row and the summary follow.
  void ArchiveRewritten(const std::string& path);
  // The same after an update, which may have renamed the archive.
  void ArchiveRewritten(const std::string& before, const std::string& path);

  // While what it returns lives a command runs: the others that change the
  // rows or open dialogs are off until it ends.
  [[nodiscard]] auto RunningCommand() {
    m_activity = CatalogActivity::Running;
    KeyState();
    return ScopeExit([this] {
      m_activity = CatalogActivity::Idle;
      KeyState();
    });
  }

  AppContext& m_context;
  WindowPump m_pump;
  CatalogList m_rows;
  bool m_loading = false;
  bool m_stop = false;
  CatalogActivity m_activity = CatalogActivity::Listing;
  bool m_addAfterLoad = false;  // Insert came while the catalogue was listed
  std::optional<ListView::RedrawSuspension> m_firstLoadQuiet;

  ImageListHandle m_largeImages;
  ImageListHandle m_smallImages;
  ListView m_listView1;
};

}  // namespace discovel
