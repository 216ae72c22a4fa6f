#pragma once
// The commands of every list of found files (the search, the duplicates, a
// check's result): their buttons and menu items send these.
namespace discovel::foundFileIds {

inline constexpr int kBtnCopyFile = 103;
inline constexpr int kExecuteFile = 104;
inline constexpr int kPropreties = 105;
inline constexpr int kBtnExportCsv = 106;

}  // namespace discovel::foundFileIds
