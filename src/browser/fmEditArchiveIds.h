#pragma once
// The controls of the archive editing dialog that its tests use.
#include <windows.h>

#include "scan/ArchiveFieldIds.h"

namespace discovel::fmEditArchiveIds {

inline constexpr const char* kClassName = "TfrmEditArchive";
using archiveFieldIds::kEdtLocation;
using archiveFieldIds::kEdtMark;
using archiveFieldIds::kEdtNote;
inline constexpr int kBtnOk = IDOK;
inline constexpr int kBtnCancel = IDCANCEL;

}  // namespace discovel::fmEditArchiveIds
