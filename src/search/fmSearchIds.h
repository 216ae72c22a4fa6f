#pragma once
// The controls and commands of the search window that its tests look at.
namespace discovel::fmSearchIds {

inline constexpr const char* kClassName = "TfrmSearch";

// Buttons carry the command of their action; the menu items share them.
inline constexpr int kBtnGo = 101;
inline constexpr int kBtnAdvanced = 102;
inline constexpr int kBtnCopyFile = 103;
inline constexpr int kExecuteFile = 104;
inline constexpr int kPropreties = 105;
inline constexpr int kBtnExportCsv = 106;
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
inline constexpr int kListView1 = 130;
inline constexpr int kSb1 = 131;
inline constexpr int kProgressBar1 = 132;

}  // namespace discovel::fmSearchIds
