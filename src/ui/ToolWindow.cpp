#include "ui/ToolWindow.h"

#include "platform/ProgramName.h"

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
  params.width = frame.width;
  params.height = frame.height;
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
  RECT band{0, 0, client.right, kBandHeight};
  FillRect(dc, &band, static_cast<HBRUSH>(m_bandBrush.get()));
  PaintBody(dc, client);
  DrawBandTitle(dc, m_frame.bandTitle, {4, 0, 200, kBandHeight});
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
      limits.ptMinTrackSize = {m_frame.width, m_frame.height};
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
