#include "ui/Dpi.h"

#include "ui/Form.h"

namespace discovel {
namespace {

template <class Function>
Function UserFunction(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

}  // namespace

UINT SystemDpi() {
  using GetDpiForSystemFn = UINT(WINAPI*)();
  static const auto getDpiForSystem = UserFunction<GetDpiForSystemFn>("GetDpiForSystem");
  const UINT dpi = getDpiForSystem ? getDpiForSystem() : 0;
  return dpi ? dpi : ScreenDpi();
}

UINT WindowDpi(HWND window) {
  if (window) {
    if (const Form* form = Form::FromHandle(GetAncestor(window, GA_ROOT))) return form->Dpi();
  }
  return SystemWindowDpi(window);
}

UINT SystemWindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
  if (window && getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window)) return dpi;
  }
  return SystemDpi();
}

int Scaled(HWND window, int design) { return ScaleToDpi(design, WindowDpi(window)); }

int SystemMetricAt(int index, UINT dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = UserFunction<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, dpi);
  // Before Windows 10 the metrics are the system DPI's already.
  return GetSystemMetrics(index);
}

SIZE OuterSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu, UINT dpi) {
  using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = UserFunction<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, clientWidth, clientHeight};
  if (!adjustForDpi || !adjustForDpi(&rect, style, hasMenu, exStyle, dpi)) {
    AdjustWindowRectEx(&rect, style, hasMenu, exStyle);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace discovel
