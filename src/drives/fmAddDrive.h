#pragma once
// The add-drive chooser: every removable, fixed and network drive in a list
// with its label, type, file system and sizes, and "Folder..." for a folder of
// any of them. What it returns is the root an archive's listing is taken from.
#include <optional>
#include <vector>

#include "catalog/ArchiveKeys.h"
#include "drives/DriveRows.h"
#include "platform/AppContext.h"
#include "platform/win32/Handles.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/ListView.h"

namespace discovel {

class TfrmAddDrive final : public Dialog {
 public:
  // The drive or folder chosen; nullopt on Cancel, and at once while the
  // chooser is already open.
  static std::optional<ArchiveSource> Execute(AppContext& context);
  TfrmAddDrive(AppContext& context, std::optional<ArchiveSource>& chosen);
  ~TfrmAddDrive() override;
  void Create();

 protected:
  void OnActivated() override;
  bool PreTranslate(MSG& msg) override;

 private:
  void BuildCommands();
  void BuildList();
  // The kinds' pictures at the window's DPI.
  void MakeDriveIcons();
  void OnDpiChanged() override;
  void FillList();
  std::optional<int> SelectedRow() const;
  // Ends with the drive of the list's row `row`.
  void TakeRow(int row);
  void btnFolderClick();

  AppContext& m_context;
  std::optional<ArchiveSource>& m_chosen;
  std::vector<DriveRow> m_rows;
  bool m_listFilled = false;
  ListView m_listView1;
  ImageListHandle m_imgDrives;
  Button m_btnFolder;
  Button m_btnOk;
  Button m_btnCancel;
};

}  // namespace discovel
