#pragma once
// The program's message boxes, all captioned with its name.
#include <windows.h>

#include <string>
#include <string_view>

namespace discovel {

// The standard error box: a failure's own message, over the active window.
void ShowErrorBox(std::string_view message);
// A plain box with OK over `owner`, for expected refusals ("The mark already exists!").
void ShowAlert(HWND owner, std::string_view text);
// A question with Yes and No over `owner`; true for Yes.
bool Confirm(HWND owner, std::string_view text);

}  // namespace discovel
