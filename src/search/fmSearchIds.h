#pragma once
// The controls and commands of the search window that its tests look at.
#include "search/win32/FoundFileIds.h"
#include "ui/ToolWindowIds.h"

namespace discovel::fmSearchIds {

using namespace foundFileIds;
using namespace toolWindowIds;

inline constexpr const char* kClassName = "TfrmSearch";

// Buttons carry the command of their action; the menu items share them.
inline constexpr int kBtnGo = 101;
inline constexpr int kBtnAdvanced = 102;
inline constexpr int kFindDuplicates = 107;

inline constexpr int kEdtSearch = 110;
inline constexpr int kChkMarked = 111;
inline constexpr int kChkDir = 112;
inline constexpr int kChkFile = 113;
inline constexpr int kChkType = 114;
inline constexpr int kChkCase = 115;
inline constexpr int kChkDate = 116;
inline constexpr int kDtpFrom = 117;
inline constexpr int kDtpTo = 118;
inline constexpr int kChkSize = 119;
inline constexpr int kCmbSize = 120;
inline constexpr int kEdtSize = 121;
inline constexpr int kUpdSize = 122;
inline constexpr int kCmbMultipler = 123;

}  // namespace discovel::fmSearchIds
