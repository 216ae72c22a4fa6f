#pragma once
#include <string>

namespace discovel {

// The path of discovel.exe, from the e2e program's command line.
extern std::string g_exe;

}  // namespace discovel
