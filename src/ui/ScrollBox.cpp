#include "ui/ScrollBox.h"

#include <algorithm>
#include <utility>

#include "platform/AppError.h"
#include "ui/Cursors.h"
#include "ui/Dpi.h"

namespace discovel {
namespace {

constexpr wchar_t kClassName[] = L"DiscovelScrollBox";
constexpr int kLineStep = 16;  // design units

BOOL CALLBACK WidestChild(HWND child, LPARAM lParam) {
  auto& widest = *reinterpret_cast<std::pair<HWND, int>*>(lParam);
  // Direct children that are not hidden; the box may not be on screen yet.
  if (GetParent(child) != widest.first || !(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) return TRUE;
  RECT bounds{};
  GetWindowRect(child, &bounds);
  MapWindowPoints(nullptr, widest.first, reinterpret_cast<POINT*>(&bounds), 2);
  widest.second = std::max(widest.second, static_cast<int>(bounds.right));
  return TRUE;
}

// The box's class does nothing of its own: its wrapper handles its messages.
void RegisterBoxClass() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{sizeof existing};
  if (GetClassInfoExW(instance, kClassName, &existing)) return;
  // Unicode, as the form around it: the controls inside notify it in UTF-16.
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = SystemCursor(IDC_ARROW);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) throw AppError("Cannot register the window class.");
}

}  // namespace

ScrollBox::~ScrollBox() { Destroy(); }

void ScrollBox::Create(HWND parent, int id, const ControlBounds& bounds, HBRUSH background, unsigned anchors) {
  RegisterBoxClass();
  m_background = background;
  m_offset = 0;
  ChildWindow::Create(parent, kClassName, id, bounds, WS_HSCROLL | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, anchors);
}

void ScrollBox::PlaceChild(HWND child, const DesignRect& rect) const {
  const UINT dpi = WindowDpi(Handle());
  SetWindowPos(child, nullptr, ScaleToDpi(rect.x, dpi) - m_offset, ScaleToDpi(rect.y, dpi), ScaleToDpi(rect.width, dpi),
               ScaleToDpi(rect.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

int ScrollBox::ContentRight() const {
  std::pair<HWND, int> widest{Handle(), 0};
  EnumChildWindows(Handle(), WidestChild, reinterpret_cast<LPARAM>(&widest));
  return widest.second + m_offset;
}

void ScrollBox::UpdateRange() {
  RECT client{};
  GetClientRect(Handle(), &client);
  SCROLLINFO info{sizeof info};
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = std::max(0, ContentRight() - 1);
  info.nPage = static_cast<UINT>(client.right);
  SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
  // Hidden, not just disabled, while everything fits.
  ShowScrollBar(Handle(), SB_HORZ, ContentRight() > client.right);
  ScrollTo(m_offset);
}

void ScrollBox::ScrollTo(int offset) {
  RECT client{};
  GetClientRect(Handle(), &client);
  offset = std::clamp(offset, 0, std::max(0, ContentRight() - static_cast<int>(client.right)));
  if (offset != m_offset) {
    ScrollWindowEx(Handle(), m_offset - offset, 0, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    m_offset = offset;
  }
  SetScrollPos(Handle(), SB_HORZ, m_offset, TRUE);
}

void ScrollBox::Scroll(WORD request) {
  SCROLLINFO info{sizeof info};
  info.fMask = SIF_ALL;
  GetScrollInfo(Handle(), SB_HORZ, &info);
  const int line = Scaled(Handle(), kLineStep);
  int offset = m_offset;
  switch (request) {
    case SB_LINELEFT: offset -= line; break;
    case SB_LINERIGHT: offset += line; break;
    case SB_PAGELEFT: offset -= static_cast<int>(info.nPage); break;
    case SB_PAGERIGHT: offset += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:  // live tracking
    case SB_THUMBPOSITION: offset = info.nTrackPos; break;
    case SB_LEFT: offset = 0; break;
    case SB_RIGHT: offset = info.nMax; break;
    default: break;
  }
  ScrollTo(offset);
}

bool ScrollBox::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, m_background);
      result = 1;
      return true;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 0));
      result = reinterpret_cast<LRESULT>(m_background);
      return true;
    }
    case WM_SIZE:
      if (onResize) onResize();
      UpdateRange();
      return true;
    case WM_HSCROLL:
      Scroll(LOWORD(wParam));
      return true;
    case WM_COMMAND:
    case WM_NOTIFY:
      // Commands of the controls inside belong to the window around the box.
      result = SendMessageW(GetParent(Handle()), message, wParam, lParam);
      return true;
    default:
      return false;
  }
}

}  // namespace discovel
