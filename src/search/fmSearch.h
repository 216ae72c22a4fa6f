#pragma once
// The search window: searches the catalogue and lists what it found in the
// found-files list, which sorts it and gets a found file back from its disc.
#include <memory>
#include <string>

#include "platform/AppContext.h"
#include "search/SearchEngine.h"
#include "search/SearchSession.h"
#include "search/win32/FoundFilesList.h"
#include "search/win32/SearchCriteriaPanel.h"
#include "search/win32/SearchRun.h"
#include "ui/Button.h"
#include "ui/EditBox.h"
#include "ui/ToolWindow.h"

namespace discovel {

class TfrmSearch final : public ToolWindow {
 public:
  // `mark` restricts every search of this opening to that archive; "" for
  // all. The mark is taken even when a search window is open already, which
  // then stays the only one.
  static int Execute(AppContext& context, const std::string& mark);
  explicit TfrmSearch(AppContext& context);
  ~TfrmSearch() override;
  void Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;
  void OnActivated() override;

 private:
  void BuildCommands();
  void BuildControls();
  int ListTop() const;
  void PaintBody(HDC dc, const RECT& client) override;
  void OnClosing() override { m_run.Close(); }
  bool Busy() const override { return m_run.Busy(); }

  void Go();
  void SearchArchive();
  void ShowSearchControls(bool idle);
  void ReportTroubles();
  void SwitchMode();

  AppContext& m_context;
  SearchSession& m_session;
  FoundFilesList m_found;
  std::unique_ptr<SearchEngine> m_engine;
  SearchResults m_results;
  bool m_controlsEnabled = true;  // idle look
  bool m_advanced = false;
  bool m_autoGoDone = false;

  EditBox m_edtSearch;
  Button m_btnGo;
  Button m_btnAdvanced;
  SearchCriteriaPanel m_panel;
  SearchRun m_run;
};

}  // namespace discovel
