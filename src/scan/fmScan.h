#pragma once
// The add-disc dialog: scans the disc in the read device and saves it as a new
// archive under the mark the user gives it.
#include <memory>
#include <string>

#include "platform/AppContext.h"
#include "platform/ModalResult.h"
#include "scan/AddDiscSession.h"
#include "ui/Action.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/EditBox.h"
#include "ui/Label.h"
#include "ui/WindowPump.h"

namespace discovel {

// How an opening of the add-disc dialog ended.
struct ScanResult {
  int modalResult = kModalCancel;
  // The archive file it saved; empty when it saved none.
  std::string savedArchive;
};

class TfrmScan final : public Dialog, private AddDiscView {
 public:
  // `owner`: the window the dialog belongs to; null takes the active window.
  static ScanResult Execute(AppContext& context, HWND owner = nullptr);
  // `savedArchive` receives the archive the dialog saved when it is destroyed.
  TfrmScan(AppContext& context, std::string& savedArchive);
  ~TfrmScan() override;
  void Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnActivated() override;

 private:
  void SetProgress(int position) override;
  void ShowMessage(std::string_view text) override;
  void SetCancelCaption(std::string_view caption) override;
  void ShowEditPanel(bool visible) override;
  void ShowProgressPanel(bool visible) override;
  void ClearFields() override;
  void SetMark(std::string_view mark) override;
  void FocusMark() override;
  void EnableOk(bool enabled) override;
  void Alert(std::string_view text) override;
  void CloseDialog(int modalResult) override;

  AppContext& m_context;
  std::string& m_savedArchive;
  WindowPump m_pump;
  Action m_actOk;
  Action m_actCancel;
  std::unique_ptr<AddDiscSession> m_session;
  HWND m_lblMsg = nullptr;
  HWND m_progress = nullptr;
  EditBox m_edtMark;
  EditBox m_edtLocation;
  EditBox m_edtNote;
  Label m_editLabels[3];
  Button m_btnOk;
  Button m_btnCancel;
  bool m_busy = false;  // the hourglass shows while the disc is scanned
};

}  // namespace discovel
