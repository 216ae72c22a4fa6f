#include "ui/Dialog.h"

#include <optional>
#include <vector>

#include "platform/AppError.h"
#include "platform/ProgramName.h"
#include "ui/ErrorBox.h"

namespace discovel {
namespace {

constexpr int kButtonWidth = 59;
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 6;
constexpr int kBandMargin = 8;

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM lParam) {
  auto* windows = reinterpret_cast<std::vector<HWND>*>(lParam);
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) windows->push_back(hwnd);
  return TRUE;
}

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR || message == WM_SYSKEYDOWN ||
         message == WM_SYSKEYUP || message == WM_SYSCHAR;
}

}  // namespace

void Dialog::CreateDialogWindow(const Look& look) {
  m_title = look.title;
  m_clientHeight = look.clientHeight;
  m_bandColour = look.bandColour;
  m_bodyBrush.reset(CreateSolidBrush(look.bodyColour));
  m_bandBrush.reset(CreateSolidBrush(look.bandColour));
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  WindowSpec params;
  params.className = look.className;
  params.caption = kProgramName;
  params.style = style;
  params.exStyle = exStyle;
  params.client = {look.clientWidth, look.clientHeight};
  params.owner = m_owner ? m_owner : GetActiveWindow();
  CreateFormWindow(params);
  CenterOnScreen(Handle());
}

void Dialog::PlaceBandButtons(const std::vector<HWND>& buttons) {
  const DesignSize client = DesignClient();
  int x = client.width - kBandMargin - static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) + kButtonGap;
  const int y = client.height - kBandHeight + (kBandHeight - kButtonHeight) / 2;
  for (HWND button : buttons) {
    Place(button, {x, y, kButtonWidth, kButtonHeight}, kAnchorBottomRight);
    x += kButtonWidth + kButtonGap;
  }
}

void Dialog::CreateBandButtons(std::initializer_list<BandButton> buttons) {
  std::vector<HWND> handles;
  for (const BandButton& band : buttons) {
    const int id = static_cast<int>(Commands().IdOf(band.action));
    band.button.Create({.form = this, .id = id, .text = band.action.Caption().c_str()});
    BindButton(band.button.Handle(), band.action);
    handles.push_back(band.button.Handle());
  }
  PlaceBandButtons(handles);
}

HWND Dialog::CreateMessageLabel(int id, int x, int y, int width, int height) {
  return CreateChild(Handle(), "STATIC", "", SS_OWNERDRAW, x, y, width, height, id, FontRole::Message);
}

int Dialog::ShowModal() {
  if (!Handle()) throw AppError("The dialog has no window.");
  OnShowing();
  // Every other window of the program waits while the dialog is open.
  std::optional<OtherWindowsDisabled> others(std::in_place, Handle());
  m_modalResult = 0;
  ShowWindow(Handle(), OpensMaximized() ? SW_SHOWMAXIMIZED : SW_SHOW);
  SetForegroundWindow(Handle());
  MSG msg;
  while (m_modalResult == 0) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      // The application is ending: leave the quit for the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      m_modalResult = kModalCancel;
      break;
    }
    DispatchQueued(msg);
  }
  others.reset();
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
  return m_modalResult;
}

OtherWindowsDisabled::OtherWindowsDisabled(HWND keep) {
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&m_disabled));
  std::erase(m_disabled, keep);
  for (HWND hwnd : m_disabled) EnableWindow(hwnd, FALSE);
}

OtherWindowsDisabled::~OtherWindowsDisabled() {
  for (HWND hwnd : m_disabled) {
    if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  }
}

void Dialog::EndModal(int result) {
  m_modalResult = result;
  // A sent message (a device-change broadcast, say) is handled inside
  // GetMessage, which then keeps waiting: wake the modal loop up.
  if (Handle()) PostMessageA(Handle(), WM_NULL, 0, 0);
}

bool Dialog::PreTranslate(MSG& msg) {
  if (IsKeyMessage(msg.message)) {
    const bool filtered = m_filteredEdits.count(msg.hwnd) != 0;
    if (filtered && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
      const bool back = GetKeyState(VK_SHIFT) < 0;
      PostMessageA(Handle(), WM_NEXTDLGCTL, back ? 1 : 0, 0);
      return true;
    }
    if (filtered && msg.message == WM_CHAR && msg.wParam == '\r') return true;
    // Escape closes on key release (the command table); the press must not
    // reach the dialog manager, nor the window below once this one is gone.
    if (msg.wParam == VK_ESCAPE && (msg.message == WM_KEYDOWN || msg.message == WM_CHAR)) return true;
  }
  return IsDialogMessageA(Handle(), &msg) != 0;
}

LRESULT Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(BodyBrush());
    }
    case WM_DRAWITEM:
      DrawMessageLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ACTIVATE: {
      // After the default handling, which gives the focus to the window
      // itself: a focus that the form sets when activated must stay.
      const LRESULT result = DefaultHandling(message, wParam, lParam);
      if (LOWORD(wParam) != WA_INACTIVE) OnActivated();
      return result;
    }
    case WM_NEXTDLGCTL: {
      HWND next = GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0);
      if (next) SetFocus(next);
      return 0;
    }
    case WM_COMMAND:
      return 0;  // the form has passed it to its command table or to a control's wrapper
    case WM_CLOSE:
      EndModal(kModalCancel);
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void ModalDialogReturned(HWND owner) {
  if (Form* form = Form::FromHandle(owner)) GuardedCall([form] { form->KeyState(); });
}

void Dialog::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client{};
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, BodyBrush());
  const int band = ScaleToDpi(kBandHeight, Dpi());
  RECT top{0, 0, client.right, band};
  FillRect(dc, &top, static_cast<HBRUSH>(m_bandBrush.get()));
  RECT bottom{0, client.bottom - band, client.right, client.bottom};
  FillRect(dc, &bottom, static_cast<HBRUSH>(m_bandBrush.get()));
  OnPaintBody(dc);
  const int margin = ScaleToDpi(8, Dpi());
  DrawBandTitle(dc, m_title.c_str(), {margin, 0, client.right - margin, band}, Dpi());
  EndPaint(Handle(), &ps);
}

void DrawBandTitle(HDC dc, const char* title, RECT area, UINT dpi) {
  HGDIOBJ oldFont = SelectObject(dc, ProgramFont(FontRole::Title, dpi));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTitleColour);
  DrawTextA(dc, title, -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

void Dialog::DrawMessageLabel(const DRAWITEMSTRUCT& item) {
  const std::string text = WindowText(item.hwndItem);
  RECT area = item.rcItem;
  const int inset = ScaleToDpi(5, Dpi());
  InflateRect(&area, -inset, -inset);
  FillRect(item.hDC, &item.rcItem, BodyBrush());
  HGDIOBJ oldFont = SelectObject(item.hDC, ProgramFont(FontRole::Message, Dpi()));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, RGB(0, 0, 0));
  RECT measure = area;
  DrawTextA(item.hDC, text.c_str(), -1, &measure, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  const int height = measure.bottom - measure.top;
  area.top += ((area.bottom - area.top) - height) / 2;
  DrawTextA(item.hDC, text.c_str(), -1, &area, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(item.hDC, oldFont);
}

}  // namespace discovel
