#pragma once
// The controls of the About box that its tests read and click.
#include <windows.h>

namespace discovel::fmAboutIds {

inline constexpr const char* kClassName = "TfrmAbout";
enum : int { kLblVersion = 40, kLblHomePage, kLblSupportMail, kLblNewsletter, kLblMemory, kLblResources };
inline constexpr int kBtnCancel = IDCANCEL;

}  // namespace discovel::fmAboutIds
