#pragma once
// The controls of the About box that its tests read and click.
#include <windows.h>

namespace discovel::fmAboutIds {

inline constexpr const char* kClassName = "TfrmAbout";
inline constexpr int kLblVersion = 40;
inline constexpr int kLblHomePage = 41;
inline constexpr int kLblSupportMail = 42;
inline constexpr int kLblNewsletter = 43;
inline constexpr int kLblMemory = 44;
inline constexpr int kLblResources = 45;
inline constexpr int kBtnCancel = IDCANCEL;

}  // namespace discovel::fmAboutIds
