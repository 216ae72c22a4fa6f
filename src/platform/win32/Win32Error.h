#pragma once
// The system's own text for a Win32 error code (UTF-8), as the error box shows it.
#include <windows.h>

#include <string>

namespace discovel {

std::string SystemErrorText(DWORD code);

}  // namespace discovel
