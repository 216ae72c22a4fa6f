#pragma once
// The controls and commands of the read-device dialog that its tests use.
#include <windows.h>

namespace discovel::fmSetDeviceIds {

inline constexpr const char* kClassName = "TfrmSetDevice";
inline constexpr int kListView1 = 30;
inline constexpr int kBtnOk = IDOK;
inline constexpr int kBtnCancel = IDCANCEL;
// The context menu's entries.
inline constexpr int kMniSetDefault = 201;
inline constexpr int kMniEject = 202;
inline constexpr int kMniClose = 203;

}  // namespace discovel::fmSetDeviceIds
