#pragma once
// The controls of the add-disc dialog that its tests use.
#include <windows.h>

#include "scan/ArchiveFieldIds.h"
#include "ui/DialogIds.h"

namespace discovel::fmScanIds {

inline constexpr const char* kClassName = "TfrmScan";
inline constexpr int kLblMsg = kLblMsgId;
using archiveFieldIds::kEdtLocation;
using archiveFieldIds::kEdtMark;
using archiveFieldIds::kEdtNote;
inline constexpr int kBtnOk = IDOK;
inline constexpr int kBtnCancel = IDCANCEL;

}  // namespace discovel::fmScanIds
