#pragma once
// The controls and commands of the search window that its tests look at.
#include "search/win32/FoundFileIds.h"
#include "ui/ToolWindowIds.h"

namespace discovel::fmSearchIds {

using namespace foundFileIds;
using namespace toolWindowIds;

inline constexpr const char* kClassName = "TfrmSearch";

// Buttons carry the command of their action; the menu items share them.
enum : int { kBtnGo = 101, kBtnAdvanced, kFindDuplicates = 107 };

enum : int {
  kEdtSearch = 110, kChkMarked, kChkDir, kChkFile, kChkType, kChkCase, kChkDate, kDtpFrom, kDtpTo, kChkSize,
  kCmbSize, kEdtSize, kUpdSize, kCmbMultipler
};

}  // namespace discovel::fmSearchIds
