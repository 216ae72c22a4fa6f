#pragma once
// The controls of the file properties dialog that its tests look at.
#include <windows.h>

namespace discovel::fmPropretiesIds {

inline constexpr const char* kClassName = "TfrmPropreties";
inline constexpr int kBtnCancel = IDCANCEL;
inline constexpr int kScrollBox1 = 200;
inline constexpr int kLblMark = 201;
inline constexpr int kLblDir = 202;
inline constexpr int kLblFile = 203;
inline constexpr int kLblType = 204;
inline constexpr int kLblDate = 205;
inline constexpr int kLblSize = 206;
inline constexpr int kL1 = 211;  // the lines between the groups
inline constexpr int kL2 = 212;
inline constexpr int kL3 = 213;

}  // namespace discovel::fmPropretiesIds
