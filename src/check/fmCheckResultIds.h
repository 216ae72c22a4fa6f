#pragma once
// The controls and commands of the check result window that its tests look at.
#include "search/win32/FoundFileIds.h"
#include "ui/ToolWindowIds.h"

namespace discovel::fmCheckResultIds {

using namespace foundFileIds;
using namespace toolWindowIds;

inline constexpr const char* kClassName = "TfrmCheckResult";

}  // namespace discovel::fmCheckResultIds
