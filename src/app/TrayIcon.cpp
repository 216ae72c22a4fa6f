#include "app/TrayIcon.h"

#include <iterator>

#include "app/DpiIcon.h"
#include "platform/win32/WideText.h"
#include "ui/Dpi.h"

namespace discovel {
namespace {

constexpr UINT kIconId = 1;

NOTIFYICONDATAW IconData(HWND owner) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = kIconId;
  return data;
}

}  // namespace

void TrayIcon::Attach(HWND owner, HINSTANCE module, WORD iconId, std::string hint) {
  m_owner = owner;
  m_module = module;
  m_iconId = iconId;
  m_hint = std::move(hint);
  LoadTrayIcon();
}

void TrayIcon::LoadTrayIcon() {
  // The notification area sits in the task bar, which is drawn at the system DPI.
  m_icon = LoadIconAtSize(m_module, m_iconId, SystemMetricAt(SM_CXSMICON, SystemDpi()));
}

void TrayIcon::Add() {
  NOTIFYICONDATAW data = IconData(m_owner);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = m_icon.get();
  const std::wstring tip = Wide(m_hint);
  tip.copy(data.szTip, std::size(data.szTip) - 1);
  m_shown = m_notify(NIM_ADD, &data) != FALSE;
  // A shell that is busy or not running yet is asked again later.
  if (m_shown) {
    KillTimer(m_owner, kRetryTimer);
  } else {
    SetTimer(m_owner, kRetryTimer, kRetryMilliseconds, nullptr);
  }
}

void TrayIcon::SetVisible(bool visible) {
  if (visible == m_visible || !m_owner) return;
  m_visible = visible;
  if (visible) {
    Add();
    return;
  }
  KillTimer(m_owner, kRetryTimer);
  if (m_shown) {
    NOTIFYICONDATAW data = IconData(m_owner);
    m_notify(NIM_DELETE, &data);
  }
  m_shown = false;
}

void TrayIcon::TaskBarCreated() {
  m_shown = false;
  if (m_owner) LoadTrayIcon();
  if (m_visible) Add();
}

bool TrayIcon::OnTimer(UINT_PTR timer) {
  if (timer != kRetryTimer) return false;
  if (m_visible && !m_shown) {
    Add();
  } else {
    KillTimer(m_owner, kRetryTimer);
  }
  return true;
}

UINT TrayIcon::TaskBarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace discovel
