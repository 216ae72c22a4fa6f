#pragma once
// The controls of the drive wait that its tests look at.
#include <windows.h>

#include "ui/DialogIds.h"

namespace discovel::fmWaitDriveIds {

inline constexpr const char* kClassName = "TfrmWaitDrive";
inline constexpr int kLblMsg = kLblMsgId;
inline constexpr int kBtnOk = IDOK;
inline constexpr int kBtnCancel = IDCANCEL;

}  // namespace discovel::fmWaitDriveIds
