#pragma once
// The controls of the disc insertion wait that its tests look at.
#include <windows.h>

#include "ui/DialogIds.h"

namespace discovel::fmWaitCDIds {

inline constexpr const char* kClassName = "TfrmWaitCD";
inline constexpr int kLblMsg = kLblMsgId;
inline constexpr int kBtnOk = IDOK;
inline constexpr int kBtnCancel = IDCANCEL;

}  // namespace discovel::fmWaitCDIds
