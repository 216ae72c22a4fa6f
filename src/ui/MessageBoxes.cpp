#include "ui/MessageBoxes.h"

#include "platform/ProgramName.h"
#include "platform/win32/WideText.h"

namespace discovel {

namespace {

int ShowBox(HWND owner, std::string_view text, UINT type) {
  return MessageBoxW(owner, Wide(text).c_str(), Wide(kProgramName).c_str(), type);
}

}  // namespace

void ShowErrorBox(std::string_view message) { ShowBox(GetActiveWindow(), message, MB_OK | MB_ICONERROR); }

void ShowAlert(HWND owner, std::string_view text) { ShowBox(owner, text, MB_OK); }

bool Confirm(HWND owner, std::string_view text) { return ShowBox(owner, text, MB_YESNO | MB_ICONQUESTION) == IDYES; }

}  // namespace discovel
