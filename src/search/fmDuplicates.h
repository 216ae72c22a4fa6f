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
#include "search/win32/FoundFilesList.h"
#include "search/win32/SearchRun.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Label.h"
#include "ui/ToolWindow.h"

namespace discovel {

class TfrmDuplicates final : public ToolWindow {
 public:
  // Does nothing while a duplicates window is open already.
  static int Execute(AppContext& context);
  explicit TfrmDuplicates(AppContext& context);
  ~TfrmDuplicates() override;
  void Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;
  void OnActivated() override;

 private:
  void BuildControls();
  void BuildCommands();
  void PaintBody(HDC dc, const RECT& client) override;
  void OnClosing() override { m_run.Close(); }
  bool Busy() const override { return m_run.Busy(); }

  void Go();
  void Search();
  DuplicateRequest RequestFromControls() const;
  void EnableCriteria(bool enabled);
  // At least one criterion stays checked: clearing the last checks it again.
  void KeepOneCriterion(CheckBox& cleared);
  void ApplyModeState();
  bool IsCriteriaControl(HWND control) const;

  AppContext& m_context;
  FoundFilesList m_found;
  std::unique_ptr<DuplicateFinder> m_finder;
  DuplicateTable m_table;
  ArchiveTroubles m_troubles;
  bool m_controlsEnabled = true;
  bool m_autoGoDone = false;

  CriteriaGround m_ground;
  Button m_btnGo;
  CheckBox m_chkSameName;
  CheckBox m_chkSameSize;
  CheckBox m_chkSameDate;
  Label m_lblMarks;
  ComboBox m_cmbMarks;
  CheckBox m_radSeveralDiscs;
  CheckBox m_radThisDiscOnly;
  SearchRun m_run;
};

}  // namespace discovel
