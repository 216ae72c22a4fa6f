#pragma once
#include <windows.h>

#include <string>

namespace discovel {

// The path of discovel.exe, from the e2e program's command line.
extern std::string g_exe;

// Starts `exe` (UTF-8) with `arguments`; a failure to start fails the test.
PROCESS_INFORMATION StartProgram(const std::string& exe, const std::string& arguments = "");

}  // namespace discovel
