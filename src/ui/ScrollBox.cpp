#include "ui/ScrollBox.h"

#include <algorithm>

#include "platform/AppError.h"
#include "ui/ErrorBox.h"

namespace discovel {
namespace {

constexpr char kClassName[] = "DiscovelScrollBox";
constexpr int kLineStep = 16;

BOOL CALLBACK WidestChild(HWND child, LPARAM lParam) {
  auto& widest = *reinterpret_cast<std::pair<HWND, int>*>(lParam);
  // Direct children that are not hidden; the box may not be on screen yet.
  if (GetParent(child) != widest.first || !(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) return TRUE;
  RECT bounds{};
  GetWindowRect(child, &bounds);
  MapWindowPoints(nullptr, widest.first, reinterpret_cast<POINT*>(&bounds), 2);
  widest.second = std::max(widest.second, static_cast<int>(bounds.right));
  return TRUE;
}

}  // namespace

ScrollBox::~ScrollBox() {
  if (m_hwnd) {
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
  }
}

void ScrollBox::Create(HWND parent, int id, const ControlBounds& bounds, HBRUSH background) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{sizeof existing};
  if (!GetClassInfoExA(instance, kClassName, &existing)) {
    WNDCLASSEXA wc{sizeof wc};
    wc.lpfnWndProc = &ScrollBox::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc)) throw AppError("Cannot register the window class.");
  }
  m_background = background;
  m_hwnd = CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_CLIPCHILDREN,
                           bounds.x, bounds.y, bounds.width, bounds.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  if (!m_hwnd) throw AppError("Cannot create the window.");
}

int ScrollBox::ContentRight() const {
  std::pair<HWND, int> widest{m_hwnd, 0};
  EnumChildWindows(m_hwnd, WidestChild, reinterpret_cast<LPARAM>(&widest));
  return widest.second + m_offset;
}

void ScrollBox::UpdateRange() {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  SCROLLINFO info{sizeof info};
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = std::max(0, ContentRight() - 1);
  info.nPage = static_cast<UINT>(client.right);
  SetScrollInfo(m_hwnd, SB_HORZ, &info, TRUE);
  // Hidden, not just disabled, while everything fits.
  ShowScrollBar(m_hwnd, SB_HORZ, ContentRight() > client.right);
  ScrollTo(m_offset);
}

void ScrollBox::ScrollTo(int offset) {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  offset = std::clamp(offset, 0, std::max(0, ContentRight() - static_cast<int>(client.right)));
  if (offset != m_offset) {
    ScrollWindowEx(m_hwnd, m_offset - offset, 0, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    m_offset = offset;
  }
  SetScrollPos(m_hwnd, SB_HORZ, m_offset, TRUE);
}

LRESULT CALLBACK ScrollBox::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* box = static_cast<ScrollBox*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    box->m_hwnd = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
  }
  auto* box = reinterpret_cast<ScrollBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!box) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    box->m_hwnd = nullptr;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  LRESULT result = 0;
  return GuardedCall([&] { result = box->HandleMessage(message, wParam, lParam); }) ? result : 0;
}

LRESULT ScrollBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(m_hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, m_background);
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(m_background);
    }
    case WM_SIZE:
      if (onResize) onResize();
      UpdateRange();
      return 0;
    case WM_HSCROLL: {
      SCROLLINFO info{sizeof info};
      info.fMask = SIF_ALL;
      GetScrollInfo(m_hwnd, SB_HORZ, &info);
      int offset = m_offset;
      switch (LOWORD(wParam)) {
        case SB_LINELEFT: offset -= kLineStep; break;
        case SB_LINERIGHT: offset += kLineStep; break;
        case SB_PAGELEFT: offset -= static_cast<int>(info.nPage); break;
        case SB_PAGERIGHT: offset += static_cast<int>(info.nPage); break;
        case SB_THUMBTRACK:  // live tracking
        case SB_THUMBPOSITION: offset = info.nTrackPos; break;
        case SB_LEFT: offset = 0; break;
        case SB_RIGHT: offset = info.nMax; break;
        default: break;
      }
      ScrollTo(offset);
      return 0;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
      // Commands of the controls inside belong to the window around the box.
      return SendMessageA(GetParent(m_hwnd), message, wParam, lParam);
    default:
      return DefWindowProcA(m_hwnd, message, wParam, lParam);
  }
}

}  // namespace discovel
