#include "ui/ModalForm.h"

#include <optional>

#include "platform/AppError.h"
#include "ui/ErrorBox.h"

namespace discovel {
namespace {

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

int ModalForm::ShowModal() {
  if (!Handle()) throw AppError("The dialog has no window.");
  OnShowing();
  // Every other window of the program waits while this one is open.
  std::optional<OtherWindowsDisabled> others(std::in_place, Handle());
  m_modalResult = 0;
  ShowWindow(Handle(), OpensMaximized() ? SW_SHOWMAXIMIZED : SW_SHOW);
  SetForegroundWindow(Handle());
  MSG msg;
  while (m_modalResult == 0) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
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

void ModalForm::EndModal(int result) {
  m_modalResult = result;
  // A sent message (a device-change broadcast, say) is handled inside
  // GetMessage, which then keeps waiting: wake the modal loop up.
  if (Handle()) PostMessageW(Handle(), WM_NULL, 0, 0);
}

bool ModalForm::PreTranslate(MSG& msg) {
  if (IsKeyMessage(msg.message)) {
    const bool filtered = m_filteredEdits.count(msg.hwnd) != 0;
    if (filtered && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
      const bool back = GetKeyState(VK_SHIFT) < 0;
      PostMessageW(Handle(), WM_NEXTDLGCTL, back ? 1 : 0, 0);
      return true;
    }
    if (filtered && msg.message == WM_CHAR && msg.wParam == '\r') return true;
    // Escape closes on key release (the command table); the press must not
    // reach the dialog manager, nor the window below once this one is gone.
    if (msg.wParam == VK_ESCAPE && (msg.message == WM_KEYDOWN || msg.message == WM_CHAR)) return true;
  }
  return IsDialogMessageW(Handle(), &msg) != 0;
}

LRESULT ModalForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
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
      return DefaultHandling(message, wParam, lParam);
  }
}

void ModalDialogReturned(HWND owner) {
  if (Form* form = Form::FromHandle(owner)) GuardedCall([form] { form->KeyState(); });
}

}  // namespace discovel
