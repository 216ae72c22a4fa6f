#include "ui/WindowText.h"

#include "platform/win32/WideText.h"

namespace discovel {

std::string TextOf(HWND window) {
  // The length may be told larger than the text, never smaller; a text
  // that grew in between fills the buffer, which is then made larger.
  int capacity = GetWindowTextLengthW(window) + 1;
  for (;;) {
    std::wstring text(static_cast<std::size_t>(capacity), L'\0');
    const int copied = GetWindowTextW(window, text.data(), capacity);
    if (copied + 1 < capacity || GetWindowTextLengthW(window) <= copied) {
      text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
      return Utf8(text);
    }
    capacity *= 2;
  }
}

bool SetTextOf(HWND window, std::string_view text) { return SetWindowTextW(window, Wide(text).c_str()) != FALSE; }

void SetTextOfIfChanged(HWND window, std::string_view text) {
  if (TextOf(window) != text) SetTextOf(window, text);
}

int DrawTextIn(HDC dc, std::string_view text, RECT& area, UINT format) {
  const std::wstring wide = Wide(text);
  return DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area, format);
}

SIZE TextExtent(HDC dc, std::string_view text) {
  const std::wstring wide = Wide(text);
  SIZE extent{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
  return extent;
}

}  // namespace discovel
