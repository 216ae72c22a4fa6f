#pragma once
// The controls and commands of the add-drive chooser that its tests use.
#include <windows.h>

namespace discovel::fmAddDriveIds {

inline constexpr const char* kClassName = "TfrmAddDrive";
inline constexpr const char* kCaption = "Add Drive or Folder";
inline constexpr int kListView1 = 30;
inline constexpr int kBtnFolder = 31;
inline constexpr int kBtnOk = IDOK;
inline constexpr int kBtnCancel = IDCANCEL;

}  // namespace discovel::fmAddDriveIds
