#pragma once
// The running program's file and its version, from its own version resource.
#include <string>

namespace discovel {

// The full path of the program's file, however long, as the system gives it;
// empty when it cannot be read.
std::wstring ProgramFile();
// "v1.0.0.0"; empty when the program file has no version resource.
std::string GetAppVersion();

}  // namespace discovel
