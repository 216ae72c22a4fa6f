#pragma once
// The add-disc dialog: scans the disc in the read device, or a drive or
// folder, and saves it as a new archive under the mark the user gives it.
#include <memory>
#include <optional>
#include <string>

#include "catalog/ArchiveKeys.h"
#include "platform/AppContext.h"
#include "platform/ModalResult.h"
#include "scan/AddDiscSession.h"
#include "scan/win32/ArchiveFields.h"
#include "scan/win32/DiscSessionDialog.h"
#include "ui/Button.h"

namespace discovel {

// How an opening of the add-disc dialog ended.
struct ScanResult {
  int modalResult = kModalCancel;
  // The archive file it saved; empty when it saved none.
  std::string savedArchive;
  // The drive or folder was archived already, and the user chose to bring
  // that archive up to date.
  std::optional<ArchiveOfSource> update;
};

class TfrmScan final : public DiscSessionDialog, private AddDiscView {
 public:
  // `owner`: the window the dialog belongs to; null takes the active window.
  // With a `source`, that drive or folder instead of the read device's disc.
  static ScanResult Execute(AppContext& context, HWND owner = nullptr,
                            std::optional<ArchiveSource> source = std::nullopt);
  // `savedArchive` receives the archive the dialog saved when it is destroyed.
  TfrmScan(AppContext& context, ScanResult& result, HWND owner, std::optional<ArchiveSource> source);
  ~TfrmScan() override;
  void Create();

 protected:
  bool SessionOpened() const override;
  void OpenSession() override;
  void CancelSession() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string Mark() const;
  // Saves the new archive, or after OfferUpdate goes on to the update.
  void OkClick();
  void SetProgress(int position) override;
  void ShowWalked(const WalkedSoFar& walked) override;
  void ShowMessage(std::string_view text) override;
  void SetCancelCaption(std::string_view caption) override;
  void ShowEditPanel(bool visible) override;
  void ShowProgressPanel(bool visible) override;
  void ClearFields() override;
  void SetMark(std::string_view mark) override;
  void FocusMark() override;
  void EnableOk(bool enabled) override;
  void Alert(std::string_view text) override;
  bool Confirm(std::string_view question) override;
  void CloseDialog(int modalResult) override;
  void OfferUpdate() override;

  AppContext& m_context;
  ScanResult& m_result;
  bool m_updateOffered = false;
  // A drive's or folder's walk pumps paced; a disc's, after every file.
  WalkPump m_walkPump;
  std::unique_ptr<AddDiscSession> m_session;
  HWND m_progress = nullptr;
  std::optional<ArchiveSource> m_source;
  // What a drive's walk has counted, and the folder it is in, at most every
  // so often: a large disk enters tens of thousands of folders.
  HWND m_walkedCounts = nullptr;
  HWND m_walkedFolder = nullptr;
  ULONGLONG m_lastWalkedShown = 0;
  ArchiveFields m_fields;
  Button m_btnOk;
  Button m_btnCancel;
  bool m_okAllowed = false;
  bool m_busy = false;  // the hourglass shows while the disc is scanned
};

}  // namespace discovel
