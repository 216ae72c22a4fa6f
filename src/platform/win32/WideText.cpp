#include "platform/win32/WideText.h"

#include <cwchar>

#include "text/Utf8.h"

namespace discovel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

std::wstring Wide(std::string_view utf8) {
  const std::u16string units = utf8::ToUtf16(utf8);
  return std::wstring(reinterpret_cast<const wchar_t*>(units.data()), units.size());
}

std::string Utf8(std::wstring_view wide) {
  return utf8::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string Utf8(const wchar_t* wide) { return wide ? Utf8(std::wstring_view(wide, std::wcslen(wide))) : std::string(); }

}  // namespace discovel
