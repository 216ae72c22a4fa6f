#include "ui/ToolWindow.h"

#include "platform/ProgramName.h"
#include "ui/Dpi.h"

namespace discovel {

void ShowBusyCursor(bool busy) {
  SetCursor(LoadCursorA(nullptr, busy ? IDC_APPSTARTING : IDC_ARROW));
}

void ToolWindow::CreateToolWindow(const Frame& frame) {
  m_frame = frame;
  WindowSpec params;
  params.className = frame.className;
  params.caption = kProgramName;
  params.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  params.exStyle = WS_EX_CONTROLPARENT;
  // The frame's design size is the outer one, the frame as it is at 96 DPI.
  const SIZE frame96 = OuterSizeFor(0, 0, params.style, params.exStyle, false, kDesignDpi);
  params.client = {frame.width - frame96.cx, frame.height - frame96.cy};
  params.owner = GetActiveWindow();
  params.background = GetSysColorBrush(COLOR_BTNFACE);
  CreateFormWindow(params);
  if (frame.placementStore) {
    KeepPlacement(*frame.placementStore, std::string(frame.formName));
  } else {
    CenterOnScreen(Handle());
  }
  m_bandBrush.reset(CreateSolidBrush(kBandBlue));
}

void ToolWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client{};
  GetClientRect(Handle(), &client);
  const int bandHeight = ScaleToDpi(kBandHeight, Dpi());
  RECT band{0, 0, client.right, bandHeight};
  FillRect(dc, &band, static_cast<HBRUSH>(m_bandBrush.get()));
  PaintBody(dc, client);
  DrawBandTitle(dc, m_frame.bandTitle, {ScaleToDpi(4, Dpi()), 0, ScaleToDpi(200, Dpi()), bandHeight}, Dpi());
  EndPaint(Handle(), &ps);
}

LRESULT ToolWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      OnResized();
      return 0;
    case WM_GETMINMAXINFO: {
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
      // No smaller than the design size at the window's DPI.
      const SIZE smallest = OuterSizeAtDpi(DesignClient());
      limits.ptMinTrackSize = {smallest.cx, smallest.cy};
      return 0;
    }
    case WM_SETCURSOR:
      if (Busy() && LOWORD(lParam) == HTCLIENT) {
        ShowBusyCursor(true);
        return TRUE;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        MinimizeApplication(Handle());
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    default:
      return Dialog::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
