#pragma once
// The search window: searches the catalogue and lists what it found in the
// found-files list, which sorts it and gets a found file back from its disc.
#include <memory>
#include <optional>
#include <string>

#include "platform/AppContext.h"
#include "search/SearchEngine.h"
#include "search/SearchSession.h"
#include "search/win32/FoundFilesWindow.h"
#include "search/win32/SearchCriteriaPanel.h"
#include "ui/Action.h"
#include "ui/Button.h"
#include "ui/EditBox.h"
#include "ui/ListView.h"

namespace discovel {

class TfrmSearch final : public FoundFilesWindow {
 public:
  // `mark` restricts every search of this opening to that archive; "" for
  // all. The mark is taken even when a search window is open already, which
  // then stays the only one.
  static int Execute(AppContext& context, const std::string& mark);
  explicit TfrmSearch(AppContext& context);
  ~TfrmSearch() override;
  void Create();

  Action ActGo;
  Action ActAdvanced;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;
  void OnActivated() override;
  void OnDpiChanged() override { Layout(); }

 private:
  // What the search reports.
  void RowIncomplete(const std::string& message) override;
  void ArchiveFailed(const std::string& message) override;

  void BuildActions();
  void BuildControls();
  void Layout();
  void PaintBody(HDC dc, const RECT& client) override;
  void OnResized() override { Layout(); }
  void AbortSearch() override { m_engine->Abort(); }

  void ActGoExecute();
  void SearchArchive();
  void EnableSearchControls(bool enabled);
  void ReportTroubles();
  void ActAdvancedExecute();

  SearchSession& m_session;
  std::unique_ptr<SearchEngine> m_engine;
  SearchResults m_results;
  bool m_controlsEnabled = true;  // idle look (EnableSearchControls)
  bool m_advanced = false;
  bool m_autoGoDone = false;

  Action m_actClose;
  Action m_actFindDuplicates;

  EditBox m_edtSearch;
  Button m_btnGo;
  Button m_btnAdvanced;
  HWND m_btnCopyFile = nullptr;
  HWND m_btnExportCsv = nullptr;
  SearchCriteriaPanel m_panel;
  std::optional<ListView::RedrawSuspension> m_searchQuiet;  // while searching
};

}  // namespace discovel
