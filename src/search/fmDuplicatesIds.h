#pragma once
// The controls and commands of the duplicates window that its tests look at.
namespace discovel::fmDuplicatesIds {

inline constexpr const char* kClassName = "TfrmDuplicates";

inline constexpr int kBtnGo = 101;
inline constexpr int kBtnCopyFile = 103;
inline constexpr int kExecuteFile = 104;
inline constexpr int kPropreties = 105;
inline constexpr int kBtnExportCsv = 106;

inline constexpr int kChkSameName = 111;
inline constexpr int kChkSameSize = 112;
inline constexpr int kChkSameDate = 113;
inline constexpr int kCmbMarks = 114;
inline constexpr int kRadSeveralDiscs = 115;
inline constexpr int kRadThisDiscOnly = 116;
inline constexpr int kListView1 = 130;
inline constexpr int kSb1 = 131;
inline constexpr int kProgressBar1 = 132;

}  // namespace discovel::fmDuplicatesIds
