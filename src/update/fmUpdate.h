#pragma once
// The update of an archive: walks its disc or drive again, lists what
// changed, and writes the archive anew only when the user presses Update.
#include <memory>
#include <string>

#include "catalog/ArchiveUpdate.h"
#include "platform/AppContext.h"
#include "search/win32/FoundFilesList.h"
#include "ui/Button.h"
#include "ui/ToolWindow.h"
#include "ui/WindowPump.h"
#include "update/ArchiveRefresh.h"
#include "update/DifferenceTable.h"

namespace discovel {

// How an opening of the update window ended: written (the archive's path
// now in `written.path`) or not.
struct UpdateWindowResult {
  bool updated = false;
  UpdateResult written;
};

class TfrmUpdate final : public ToolWindow, private ScanProgress {
 public:
  // Walks `root` (where the disc or drive of the archive at `archivePath`,
  // marked `mark`, is now) and shows what changed. Throws AppError when the
  // archive cannot be read.
  static UpdateWindowResult Execute(AppContext& context, const std::string& archivePath, const std::string& mark,
                                    const std::string& root);
  TfrmUpdate(AppContext& context, const std::string& archivePath, std::string mark, std::string root,
             UpdateWindowResult& result);
  ~TfrmUpdate() override;
  void Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnActivated() override;
  void OnClosing() override;
  bool Busy() const override { return m_walking; }

 private:
  void Walk();
  void Update();
  void SetProgress(int) override {}
  void ShowWalked(const WalkedSoFar& walked) override;

  AppContext& m_context;
  std::string m_mark;
  std::string m_root;
  UpdateWindowResult& m_result;
  WalkPump m_pump;
  ArchiveRefresh m_refresh;
  DifferenceTable m_table;
  FoundFilesList m_found;
  Button m_btnUpdate;
  Button m_btnCancel;
  bool m_started = false;
  bool m_walking = false;
  bool m_walked = false;  // the differences are listed
  ULONGLONG m_lastWalkedShown = 0;
};

}  // namespace discovel
