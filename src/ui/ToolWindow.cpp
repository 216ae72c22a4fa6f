#include "ui/ToolWindow.h"

#include <algorithm>

#include "platform/ProgramName.h"
#include "ui/Cursors.h"
#include "ui/Dpi.h"
#include "ui/ToolWindowIds.h"

namespace discovel {

void ShowBusyCursor(bool busy) {
  SetCursor(SystemCursor(busy ? IDC_APPSTARTING : IDC_ARROW));
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
  m_status.Create(Handle(), toolWindowIds::kSb1, frame.progressPanel < 0 ? 0 : toolWindowIds::kProgressBar1,
                  frame.statusPanels, std::max(0, frame.progressPanel));
  Commands().Add({.keys = {VK_ESCAPE}, .run = [this] { PostMessageW(Handle(), WM_CLOSE, 0, 0); }});
}

void ToolWindow::FrameList(ListView& list, int top, MenuHandle popupMenu) {
  m_list = &list;
  m_listTop = top;
  m_popupMenu = std::move(popupMenu);
  PlaceList();
}

void ToolWindow::MoveListTop(int top) {
  m_listTop = top;
  PlaceList();
}

void ToolWindow::FrameBeside(HWND control, int width) {
  m_beside = control;
  m_besideWidth = width;
  PlaceList();
}

void ToolWindow::PlaceList() {
  if (!m_list || !m_status.Handle()) return;  // sizes sent while the window is being made
  m_status.Layout();
  const DesignSize client = DesignClient();
  const int statusHeight = m_status.DesignHeight(Dpi());
  const int height = std::max(0, client.height - statusHeight - m_listTop);
  // A small gap between the two, as between Explorer's panes.
  const int listLeft = m_beside ? m_besideWidth + 3 : 0;
  if (m_beside) Place(m_beside, {0, m_listTop, m_besideWidth, height}, kAnchorLeft | kAnchorTop | kAnchorBottom);
  Place(m_list->Handle(), {listLeft, m_listTop, std::max(0, client.width - listLeft), height}, kAnchorAll);
  m_list->FitColumns();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void ToolWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client{};
  GetClientRect(Handle(), &client);
  const int bandHeight = ScaleToDpi(kBandHeight, Dpi());
  RECT band{0, 0, client.right, bandHeight};
  FillRect(dc, &band, static_cast<HBRUSH>(m_bandBrush.get()));
  // The background is not erased: what no control covers (a bar of buttons,
  // the gap between two panes) is filled here.
  RECT body{0, bandHeight, client.right, client.bottom};
  FillRect(dc, &body, GetSysColorBrush(COLOR_BTNFACE));
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
      PlaceList();
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
    case WM_CONTEXTMENU:
      if (m_list && reinterpret_cast<HWND>(wParam) == m_list->Handle()) {
        PopUpMenu(m_popupMenu.get(), m_list->PopupMenuPoint(lParam));
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_CLOSE:
      // Always granted; what runs stops.
      m_closing = true;
      OnClosing();
      EndModal(kModalCancel);
      return 0;
    default:
      return ModalForm::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
