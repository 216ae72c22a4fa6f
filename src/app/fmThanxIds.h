#pragma once
// The controls of the welcome box that its tests use.
#include <windows.h>

namespace discovel::fmThanxIds {

inline constexpr const char* kClassName = "TfrmThanx";
inline constexpr int kBtnOk = IDOK;

}  // namespace discovel::fmThanxIds
