#pragma once
// The controls and commands of the catalogue window that its tests look at.
#include "ui/ToolWindowIds.h"

namespace discovel::fmArchiveIds {

using namespace toolWindowIds;

inline constexpr const char* kClassName = "TfrmArchive";

// Tool buttons carry the command of their action; the menu items share them.
inline constexpr int kBtnViewToggle = 101;
inline constexpr int kBtnFreshenCD = 102;
inline constexpr int kBtnAdd = 103;
inline constexpr int kBtnEdit = 104;
inline constexpr int kBtnDelete = 105;
inline constexpr int kViewArchiveFiles = 106;
inline constexpr int kViewIcon = 107;
inline constexpr int kViewSmallIcon = 108;
inline constexpr int kViewList = 109;
inline constexpr int kViewReport = 110;
inline constexpr int kBtnExportCsv = 111;
inline constexpr int kFindDuplicates = 112;
inline constexpr int kCheckDisc = 113;

// The timer whose tick starts the load, 150 ms after the window shows; the
// catalogue window's benchmark measures from it.
inline constexpr unsigned kTimScan = 2;

}  // namespace discovel::fmArchiveIds
