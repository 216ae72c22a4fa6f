#include "ui/ErrorBox.h"

#include <windows.h>

namespace discovel {

void ShowErrorBox(const std::string& message) {
  MessageBoxA(GetActiveWindow(), message.c_str(), "Discovel", MB_OK | MB_ICONERROR);
}

}  // namespace discovel
