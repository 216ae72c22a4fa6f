#include "app/DpiIcon.h"

#include "ui/Dpi.h"

namespace discovel {

IconHandle LoadIconAtSize(HINSTANCE module, WORD iconId, int size) {
  // Not LR_SHARED: a shared icon is cached by name whatever size is asked for.
  return IconHandle(static_cast<HICON>(
      LoadImageW(module, MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void WindowIcons::Apply(HWND window, HINSTANCE module, WORD iconId) {
  const UINT dpi = WindowDpi(window);
  IconHandle bigIcon = LoadIconAtSize(module, iconId, SystemMetricAt(SM_CXICON, dpi));
  IconHandle smallIcon = LoadIconAtSize(module, iconId, SystemMetricAt(SM_CXSMICON, dpi));
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
  // The window no longer uses the icons it had: they go only now.
  m_big = std::move(bigIcon);
  m_small = std::move(smallIcon);
}

}  // namespace discovel
