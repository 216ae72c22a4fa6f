#pragma once
// The controls and commands of the update window that its tests look at.
#include "search/win32/FoundFileIds.h"
#include "ui/ToolWindowIds.h"

namespace discovel::fmUpdateIds {

using namespace foundFileIds;
using namespace toolWindowIds;

inline constexpr const char* kClassName = "TfrmUpdate";
enum : int { kBtnUpdate = 120, kBtnCancel };

}  // namespace discovel::fmUpdateIds
