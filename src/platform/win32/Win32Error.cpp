#include "platform/win32/Win32Error.h"

#include "platform/win32/WideText.h"

namespace discovel {

std::string SystemErrorText(DWORD code) {
  // With FORMAT_MESSAGE_ALLOCATE_BUFFER the system allocates the text and
  // writes its address where the buffer would be; LocalFree frees it.
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length && buffer ? Utf8(std::wstring_view(buffer, length)) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  if (text.empty()) text = "System error code " + std::to_string(code) + ".";
  return text;
}

}  // namespace discovel
