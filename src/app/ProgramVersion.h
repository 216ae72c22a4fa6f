#pragma once
// The version of the running program, from its own version resource.
#include <string>

namespace discovel {

// "v1.0.0.0"; empty when the program file has no version resource.
std::string GetAppVersion();

}  // namespace discovel
