#pragma once
// The controls of the archive editing dialog that its tests use.
#include <windows.h>

namespace discovel::fmEditArchiveIds {

inline constexpr const char* kClassName = "TfrmEditArchive";
inline constexpr int kEdtMark = 20;
inline constexpr int kEdtLocation = 21;
inline constexpr int kEdtNote = 22;
inline constexpr int kBtnOk = IDOK;
inline constexpr int kBtnCancel = IDCANCEL;

}  // namespace discovel::fmEditArchiveIds
