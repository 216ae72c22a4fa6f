#pragma once
// The controls and commands of the folder browser that its tests look at.
#include "search/win32/FoundFileIds.h"
#include "ui/ToolWindowIds.h"

namespace discovel::fmBrowseIds {

using namespace foundFileIds;
using namespace toolWindowIds;

inline constexpr const char* kClassName = "TfrmBrowse";
enum : int { kTreeView1 = 140, kEdtAddress, kBtnBack, kBtnForward, kBtnUp, kSortBySize };

}  // namespace discovel::fmBrowseIds
