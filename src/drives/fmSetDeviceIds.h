#pragma once
// The controls and commands of the read-device dialog that its tests use.
#include <windows.h>

namespace discovel::fmSetDeviceIds {

inline constexpr const char* kClassName = "TfrmSetDevice";
inline constexpr int kListView1 = 30;
inline constexpr int kBtnOk = IDOK;
inline constexpr int kBtnCancel = IDCANCEL;
// The context menu's entries.
enum : int { kMniSetDefault = 201, kMniEject, kMniClose };

}  // namespace discovel::fmSetDeviceIds
