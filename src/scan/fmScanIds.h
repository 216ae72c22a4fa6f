#pragma once
// The controls of the add-disc dialog that its tests use.
#include <windows.h>

#include "ui/DialogIds.h"

namespace discovel::fmScanIds {

inline constexpr const char* kClassName = "TfrmScan";
inline constexpr int kLblMsg = kLblMsgId;
inline constexpr int kEdtMark = 20;
inline constexpr int kEdtLocation = 21;
inline constexpr int kEdtNote = 22;
inline constexpr int kBtnOk = IDOK;
inline constexpr int kBtnCancel = IDCANCEL;

}  // namespace discovel::fmScanIds
