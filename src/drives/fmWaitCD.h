#pragma once
// The disc insertion wait: confirms a new disc already in the read device, or
// opens the tray and waits for a medium to arrive, for OK or for Cancel.
#include <memory>
#include <string>

#include "drives/DiscWait.h"
#include "ui/Dialog.h"

namespace discovel {

class TfrmWaitCD final : public Dialog, private DiscWaitView {
 public:
  // An empty message shows the default one. 1: go on; 2: the user cancelled.
  static int Execute(const std::string& message);
  TfrmWaitCD();
  ~TfrmWaitCD() override;
  void Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreviewKey(const MSG& msg) override;
  void OnShowing() override;
  void OnActivated() override;
  void OnCommand(int id, int code) override;

 private:
  void ShowMessage(std::string_view text) override;
  void DisableOk() override;
  void DisableAddAction() override;
  void HideButtons() override;
  void StartTimer() override;
  void StopTimer() override;
  void CloseDialog(int modalResult) override;
  void PumpMessages() override;

  std::unique_ptr<DiscWait> m_wait;
  HWND m_lblMsg = nullptr;
  HWND m_btnOk = nullptr;
  HWND m_btnCancel = nullptr;
};

}  // namespace discovel
