#pragma once
// The controls and commands of the check result window that its tests look at.
namespace discovel::fmCheckResultIds {

inline constexpr const char* kClassName = "TfrmCheckResult";

inline constexpr int kBtnCopyFile = 103;
inline constexpr int kExecuteFile = 104;
inline constexpr int kPropreties = 105;
inline constexpr int kBtnExportCsv = 106;

inline constexpr int kListView1 = 130;
inline constexpr int kSb1 = 131;

}  // namespace discovel::fmCheckResultIds
