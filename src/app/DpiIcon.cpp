#include "app/DpiIcon.h"

namespace discovel {
namespace {

// Windows 10 (1607) and later only: looked up so that the program still starts before.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

}  // namespace

UINT SystemDpi() {
  static const auto forSystem = User32Function<UINT(WINAPI*)()>("GetDpiForSystem");
  if (forSystem) return forSystem();
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT WindowDpi(HWND window) {
  static const auto forWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const UINT dpi = forWindow ? forWindow(window) : 0;
  return dpi ? dpi : SystemDpi();
}

int IconSizeForDpi(int metric, UINT dpi) {
  static const auto forDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  const int size = forDpi ? forDpi(metric, dpi) : 0;
  return size ? size : GetSystemMetrics(metric);
}

IconHandle LoadIconAtSize(HINSTANCE module, WORD iconId, int size) {
  // Not LR_SHARED: a shared icon is cached by name whatever size is asked for.
  return IconHandle(static_cast<HICON>(
      LoadImageA(module, MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void WindowIcons::Apply(HWND window, HINSTANCE module, WORD iconId) {
  const UINT dpi = WindowDpi(window);
  IconHandle bigIcon = LoadIconAtSize(module, iconId, IconSizeForDpi(SM_CXICON, dpi));
  IconHandle smallIcon = LoadIconAtSize(module, iconId, IconSizeForDpi(SM_CXSMICON, dpi));
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
  // The window no longer uses the icons it had: they go only now.
  m_big = std::move(bigIcon);
  m_small = std::move(smallIcon);
}

}  // namespace discovel
