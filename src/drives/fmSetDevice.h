#pragma once
// The read-device dialog: every CD/DVD drive as a large icon, the default one
// marked; OK makes the marked drive the read device. Its trays can be opened
// and closed from the list's menu.
#include <optional>

#include "drives/DriveQueries.h"
#include "platform/AppContext.h"
#include "platform/win32/Handles.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/ListView.h"

namespace discovel {

class TfrmSetDevice final : public Dialog {
 public:
  // The choice lands in context.run.readDevice and the settings on OK only. Returns
  // at once (Cancel) while the dialog is already open.
  static int Execute(AppContext& context);
  // The same over other drives than the machine's.
  static int Execute(AppContext& context, DriveQueries& drives);
  TfrmSetDevice(AppContext& context, DriveQueries& drives);
  ~TfrmSetDevice() override;
  void Create();

 protected:
  void OnActivated() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& msg) override;

 private:
  void BuildCommands();
  void BuildList();
  // The drive pictures at the window's DPI.
  void MakeDrivePictures();
  void OnDpiChanged() override;
  void FillList();
  void AddDrive(const std::string& rootPath, bool isDefault);
  // The first letter of the one selected item; none unless exactly one.
  std::optional<char> SelectedLetter() const;
  // Opens or closes the tray of the selected drive.
  void MoveSelectedTray(void (*move)(char letter));
  // Set as Default Read Device, when it is allowed.
  void SetSelectedAsDefault();
  void MarkSelectedDrive();
  void btnOkClick();

  AppContext& m_context;
  DriveQueries& m_drives;
  bool m_listFilled = false;
  ListView m_listView1;
  ImageListHandle m_imgCDrom;
  MenuHandle m_popupMenu;
  Button m_btnOk;
  Button m_btnCancel;
};

}  // namespace discovel
