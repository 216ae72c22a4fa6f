#pragma once
// The controls and commands of the duplicates window that its tests look at.
#include "search/win32/FoundFileIds.h"
#include "ui/ToolWindowIds.h"

namespace discovel::fmDuplicatesIds {

using namespace foundFileIds;
using namespace toolWindowIds;

inline constexpr const char* kClassName = "TfrmDuplicates";

enum : int {
  kBtnGo = 101, kChkSameName = 111, kChkSameSize, kChkSameDate, kCmbMarks, kRadSeveralDiscs, kRadThisDiscOnly
};

}  // namespace discovel::fmDuplicatesIds
