#pragma once
// The controls of the disc check's progress window that its tests use.
#include <windows.h>

#include "ui/DialogIds.h"

namespace discovel::fmCheckIds {

inline constexpr const char* kClassName = "TfrmCheck";
inline constexpr int kLblMsg = kLblMsgId;
inline constexpr int kProgressBar = 20;
inline constexpr int kLblProgress = 21;
inline constexpr int kBtnCancel = IDCANCEL;

}  // namespace discovel::fmCheckIds
