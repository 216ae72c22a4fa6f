#pragma once
// The program's text is UTF-8; the system's W functions take UTF-16. These
// convert at that border, keeping a lone surrogate of a name as it was.
#include <string>
#include <string_view>

namespace discovel {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
// A NUL-terminated buffer the system filled.
std::string Utf8(const wchar_t* wide);

}  // namespace discovel
