#pragma once
// The disc insertion wait: confirms a new disc already in the read device, or
// opens the tray and waits for a medium to arrive, for OK or for Cancel.
#include <memory>
#include <string>

#include "drives/DiscWait.h"
#include "platform/AppContext.h"
#include "ui/Button.h"
#include "ui/Dialog.h"

namespace discovel {

class TfrmWaitCD final : public Dialog, private DiscWaitView {
 public:
  // An empty message shows the default one. 1: go on; 2: the user cancelled.
  // `owner`: the window the dialog belongs to; null takes the active window.
  static int Execute(AppContext& context, const std::string& message, HWND owner = nullptr,
                     DiscWanted wanted = DiscWanted::kNewDisc);
  TfrmWaitCD(AppContext& context, std::string message, DiscWanted wanted);
  ~TfrmWaitCD() override;
  void Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnShowing() override;
  void OnActivated() override;

 private:
  void ShowMessage(std::string_view text) override;
  void DisableOk() override;
  void DisableAddAction() override;
  void HideButtons() override;
  void StartTimer() override;
  void StopTimer() override;
  void CloseDialog(int modalResult) override;
  void PumpMessages() override;

  AppContext& m_context;
  std::string m_message;
  DiscWanted m_wanted;
  std::unique_ptr<DiscWait> m_wait;
  HWND m_lblMsg = nullptr;
  Button m_btnOk;
  Button m_btnCancel;
};

}  // namespace discovel
