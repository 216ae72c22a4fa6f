#pragma once
// The duplicates window: the files the catalogue holds on two or more discs,
// grouped, or the files of one disc that no other disc holds, in the
// found-files list, which sorts them and gets a listed file back from its disc.
#include <memory>
#include <optional>
#include <string>

#include "platform/AppContext.h"
#include "search/DuplicateFinder.h"
#include "search/DuplicateTable.h"
#include "search/SearchSession.h"
#include "search/win32/CriteriaGround.h"
#include "search/win32/FoundFilesWindow.h"
#include "ui/Action.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Label.h"
#include "ui/ListView.h"

namespace discovel {

class TfrmDuplicates final : public FoundFilesWindow {
 public:
  // Does nothing while a duplicates window is open already.
  static int Execute(AppContext& context);
  explicit TfrmDuplicates(AppContext& context);
  ~TfrmDuplicates() override;
  void Create();

  Action ActGo;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;
  void OnActivated() override;
  void OnDpiChanged() override { Layout(); }

 private:
  void ArchiveFailed(const std::string& message) override;

  void BuildControls();
  void BuildActions();
  void Layout();
  void OnResized() override { Layout(); }
  void PaintBody(HDC dc, const RECT& client) override;
  void AbortSearch() override { m_finder->Abort(); }

  void ActGoExecute();
  void Search();
  DuplicateRequest RequestFromControls() const;
  void EnableCriteria(bool enabled);
  // At least one criterion stays checked: clearing the last checks it again.
  void KeepOneCriterion(CheckBox& cleared);
  void ApplyModeState();
  bool IsCriteriaControl(HWND control) const;

  std::unique_ptr<DuplicateFinder> m_finder;
  DuplicateTable m_table;
  ArchiveTroubles m_troubles;
  ColumnSortState& m_sort;
  bool m_controlsEnabled = true;
  bool m_autoGoDone = false;

  CriteriaGround m_ground;
  Action m_actClose;
  Action m_actRefresh;

  Button m_btnGo;
  HWND m_btnCopyFile = nullptr;
  HWND m_btnExportCsv = nullptr;
  CheckBox m_chkSameName;
  CheckBox m_chkSameSize;
  CheckBox m_chkSameDate;
  Label m_lblMarks;
  ComboBox m_cmbMarks;
  CheckBox m_radSeveralDiscs;
  CheckBox m_radThisDiscOnly;
  std::optional<ListView::RedrawSuspension> m_searchQuiet;  // while searching
};

}  // namespace discovel
