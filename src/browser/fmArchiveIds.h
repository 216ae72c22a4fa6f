#pragma once
// The controls and commands of the catalogue window that its tests look at.
#include "ui/ToolWindowIds.h"

namespace discovel::fmArchiveIds {

using namespace toolWindowIds;

inline constexpr const char* kClassName = "TfrmArchive";

// Tool buttons carry the command of their action; the menu items share them.
enum : int {
  kBtnViewToggle = 101, kBtnFreshenCD, kBtnAdd, kBtnEdit, kBtnDelete, kViewArchiveFiles, kViewIcon,
  kViewSmallIcon, kViewList, kViewReport, kBtnExportCsv, kFindDuplicates, kCheckDisc,
  kUpdateArchive, kBrowseArchive
};

// The timer whose tick starts the load, 150 ms after the window shows; the
// catalogue window's benchmark measures from it.
inline constexpr unsigned kTimScan = 2;

}  // namespace discovel::fmArchiveIds
