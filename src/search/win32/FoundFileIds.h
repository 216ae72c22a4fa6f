#pragma once
// The commands of every list of found files (the search, the duplicates, a
// check's result): their buttons and menu items send these.
namespace discovel::foundFileIds {

enum : int { kBtnCopyFile = 103, kExecuteFile, kPropreties, kBtnExportCsv, kShowInFolder = 108 };

}  // namespace discovel::foundFileIds
