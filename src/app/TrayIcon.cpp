#include "app/TrayIcon.h"

#include <shellapi.h>

#include <cstring>

namespace discovel {
namespace {

constexpr UINT kIconId = 1;

NOTIFYICONDATAA IconData(HWND owner) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = kIconId;
  return data;
}

}  // namespace

void TrayIcon::Attach(HWND owner, HICON icon, std::string hint) {
  m_owner = owner;
  m_icon = icon;
  m_hint = std::move(hint);
}

bool TrayIcon::Add() {
  NOTIFYICONDATAA data = IconData(m_owner);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = m_icon;
  strncpy(data.szTip, m_hint.c_str(), sizeof data.szTip - 1);
  return Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void TrayIcon::SetVisible(bool visible) {
  if (visible == m_visible || !m_owner) return;
  if (visible) {
    // A shell that is not running yet adds it later, at TaskBarCreated.
    Add();
  } else {
    NOTIFYICONDATAA data = IconData(m_owner);
    Shell_NotifyIconA(NIM_DELETE, &data);
  }
  m_visible = visible;
}

void TrayIcon::TaskBarCreated() {
  if (m_visible) Add();
}

UINT TrayIcon::TaskBarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

}  // namespace discovel
