#pragma once
// The disc check's progress window: finds the archive of the disc in the read
// device when it is not given one, reads the disc against it with the files and
// bytes done, the speed and the time left, and stops on Cancel.
#include <chrono>
#include <memory>
#include <optional>

#include "check/CheckSession.h"
#include "platform/AppContext.h"
#include "platform/ModalResult.h"
#include "scan/win32/DiscSessionDialog.h"
#include "ui/Button.h"
#include "ui/Label.h"

namespace discovel {

// How a check ended: OK with its archive and report, or Cancel.
struct CheckOutcome {
  int modalResult = kModalCancel;
  CheckTarget target;
  CheckReport report;
};

class TfrmCheck final : public DiscSessionDialog, private CheckView {
 public:
  // Checks the disc in the read device against `target`, or against the
  // archive it has in the catalogue when none is given. `owner`: the window
  // the dialog belongs to; null takes the active window.
  // With `sourceRoot`, the target's drive or folder there is checked instead.
  static CheckOutcome Execute(AppContext& context, std::optional<CheckTarget> target, HWND owner = nullptr,
                              std::optional<std::string> sourceRoot = std::nullopt);
  // `outcome` receives how the check ended when the window is destroyed.
  TfrmCheck(AppContext& context, std::optional<CheckTarget> target, CheckOutcome& outcome, HWND owner,
            std::optional<std::string> sourceRoot = std::nullopt);
  ~TfrmCheck() override;
  void Create();

 protected:
  bool SessionOpened() const override;
  void OpenSession() override;
  void CancelSession() override;

 private:
  void Progress(const CheckProgress& progress) override;
  void ShowMessage(std::string_view text) override;
  void Alert(std::string_view text) override;
  void CloseDialog(int modalResult) override;

  AppContext& m_context;
  std::optional<CheckTarget> m_target;
  std::optional<std::string> m_sourceRoot;
  CheckOutcome& m_outcome;
  std::unique_ptr<CheckSession> m_session;
  Label m_lblProgress;
  Button m_btnCancel;
  std::chrono::steady_clock::time_point m_shown;
};

}  // namespace discovel
