#pragma once
// The controls and commands of the duplicates window that its tests look at.
#include "search/win32/FoundFileIds.h"
#include "ui/ToolWindowIds.h"

namespace discovel::fmDuplicatesIds {

using namespace foundFileIds;
using namespace toolWindowIds;

inline constexpr const char* kClassName = "TfrmDuplicates";

inline constexpr int kBtnGo = 101;
inline constexpr int kChkSameName = 111;
inline constexpr int kChkSameSize = 112;
inline constexpr int kChkSameDate = 113;
inline constexpr int kCmbMarks = 114;
inline constexpr int kRadSeveralDiscs = 115;
inline constexpr int kRadThisDiscOnly = 116;

}  // namespace discovel::fmDuplicatesIds
