#pragma once
// The controls of the file properties dialog that its tests look at.
#include <windows.h>

namespace discovel::fmPropretiesIds {

inline constexpr const char* kClassName = "TfrmPropreties";
inline constexpr int kBtnCancel = IDCANCEL;
enum : int { kScrollBox1 = 200, kLblMark, kLblDir, kLblFile, kLblType, kLblDate, kLblSize };
enum : int { kL1 = 211, kL2, kL3 };  // the lines between the groups

}  // namespace discovel::fmPropretiesIds
