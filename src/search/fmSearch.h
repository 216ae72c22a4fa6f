#pragma once
// The search window: searches the catalogue, lists and sorts what it found,
// and gets a found file back from its disc (clipboard, shell, properties).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/AppContext.h"
#include "search/ResultSort.h"
#include "search/SearchEngine.h"
#include "ui/Action.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/DatePicker.h"
#include "ui/EditBox.h"
#include "ui/Label.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/ToolWindow.h"
#include "ui/UpDown.h"
#include "ui/WindowPump.h"

namespace discovel {

class TfrmSearch final : public ToolWindow, private SearchCriteriaSource, private SearchObserver {
 public:
  // `mark` restricts every search of this opening to that archive; "" for
  // all. The mark is taken even when a search window is open already, which
  // then stays the only one.
  static int Execute(AppContext& context, const std::string& mark);
  explicit TfrmSearch(AppContext& context);
  ~TfrmSearch() override;
  void Create();
  void KeyState() override;

  Action ActGo;
  Action ActCopyFile;
  Action ActExecuteFile;
  Action ActPropreties;
  Action ActAdvanced;

  // The disc path of the selected row.
  std::string GetFullFilePathFromList() const;
  bool Searching() const { return m_busy; }
  // The rows in the order the list shows them.
  std::size_t RowCount() const { return m_results.RowCount(); }
  std::string CellText(std::size_t row, ResultColumn column) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;
  void OnActivated() override;
  void OnDpiChanged() override { Layout(); }

 private:
  // The criteria, read from the controls while a search runs.
  std::string SearchText() const override;
  bool AdvancedMode() const override { return m_advanced; }
  AdvancedCriteria Advanced() const override;
  std::string Restriction() const override;
  // What the search reports.
  void ArchiveSearched() override;
  void RowIncomplete(const std::string& message) override;
  void ArchiveFailed(const std::string& message) override;

  void BuildActions();
  void BuildControls();
  void BuildAdvancedPanel();
  void BuildResultList();
  void Layout();
  void FitColumns();
  void PaintBody(HDC dc, const RECT& client) override;
  void OnResized() override { Layout(); }
  bool Busy() const override { return m_busy; }

  void ActGoExecute();
  void SearchArchive();
  void EnableSearchControls(bool enabled);
  void ApplyPanelState();
  void DrawResults();
  void ReportTroubles();
  void ActAdvancedExecute();
  void DrawSpeedButtonState();
  void ShowAdvancedPanel();
  void SortByColumn(int column);
  void GetFileThen(void (TfrmSearch::*action)(const std::string& path));
  void CopyToClipboard(const std::string& path);
  void OpenFile(const std::string& path);
  void ShowPropreties();
  void chkSizeClick();
  void chkDateClick();
  void DateChange();
  void SizeChange();
  void edtSizeExit();
  bool EnterRunsGo(HWND control) const;
  // The brush a field of the window is painted with; null: the usual one.
  HBRUSH FieldBrush(HWND control, HDC dc) const;

  AppContext& m_context;
  WindowPump m_pump;
  std::unique_ptr<SearchEngine> m_engine;
  SearchResults m_results;
  std::vector<std::uint32_t> m_order;  // empty: the order found
  std::vector<std::string> m_troubles;  // archives the search could not read
  bool m_busy = false;
  bool m_gettingFile = false;  // Copy or Execute File is running
  bool m_controlsEnabled = true;  // idle look (EnableSearchControls)
  bool m_advanced = false;
  bool m_autoGoDone = false;
  bool m_closing = false;

  GdiObject m_panelBrush;
  MenuHandle m_popupMenu;
  Action m_actClose;

  EditBox m_edtSearch;
  Button m_btnGo;
  Button m_btnAdvanced;
  HWND m_btnCopyFile = nullptr;
  CheckBox m_chkMarked;
  CheckBox m_chkDir;
  CheckBox m_chkFile;
  CheckBox m_chkType;
  CheckBox m_chkCase;
  CheckBox m_chkDate;
  CheckBox m_chkSize;
  ComboBox m_cmbSize;
  ComboBox m_cmbMultipler;
  Label m_panelLabels[4];
  // Every control of the advanced panel: shown with it, in its colour.
  std::vector<HWND> m_panelControls;
  DatePicker m_dtpFrom;
  DatePicker m_dtpTo;
  UpDown m_updSize;
  ListView m_listView1;
  std::optional<ListView::RedrawSuspension> m_searchQuiet;  // while searching
  StatusBar m_sb1;
};

}  // namespace discovel
