#include "ui/MessageBoxes.h"

#include "platform/ProgramName.h"

namespace discovel {

void ShowErrorBox(std::string_view message) {
  MessageBoxA(GetActiveWindow(), std::string(message).c_str(), kProgramName, MB_OK | MB_ICONERROR);
}

void ShowAlert(HWND owner, std::string_view text) {
  MessageBoxA(owner, std::string(text).c_str(), kProgramName, MB_OK);
}

bool Confirm(HWND owner, std::string_view text) {
  return MessageBoxA(owner, std::string(text).c_str(), kProgramName, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace discovel
