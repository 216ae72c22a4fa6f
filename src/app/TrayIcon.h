#pragma once
// The program's icon in the notification area of the task bar. Its mouse
// notices reach the owner window as kCallbackMessage with the mouse message in
// lParam; the owner decides what they do.
//
// At logon the notification area may not be ready yet: adding the icon then
// fails, and it is tried again on a timer of the owner until the shell takes
// it (or announces a new task bar). Meanwhile Shown() is false.
//
// The icon is the small-icon size of the task bar's DPI, loaded from the
// program's icon resource and kept until the icon is gone from the shell.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "platform/win32/Handles.h"

namespace discovel {

class TrayIcon {
 public:
  static constexpr UINT kCallbackMessage = WM_APP + 40;
  // The owner's timer that retries adding the icon.
  static constexpr UINT_PTR kRetryTimer = 0x7E41;
  static constexpr UINT kRetryMilliseconds = 2000;
  // The shell call, Shell_NotifyIconW unless a test stands in for it.
  using ShellNotify = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);

  TrayIcon() = default;
  ~TrayIcon() { SetVisible(false); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  void UseShell(ShellNotify notify) { m_notify = notify; }
  void Attach(HWND owner, HINSTANCE module, WORD iconId, std::string hint);
  // Whether the icon should be there.
  void SetVisible(bool visible);
  bool Visible() const { return m_visible; }
  // Whether the shell has the icon now.
  bool Shown() const { return m_shown; }
  // The task bar was (re)created, as after Explorer restarted: it has
  // forgotten the icon, which is added again if it should be there, loaded
  // anew for the DPI the task bar has now.
  void TaskBarCreated();
  // The owner's WM_TIMER: true when it was the retry (Shown() may have changed).
  bool OnTimer(UINT_PTR timer);
  // The message the shell broadcasts when the task bar is (re)created.
  static UINT TaskBarCreatedMessage();

 private:
  void Add();
  void LoadTrayIcon();
  ShellNotify m_notify = Shell_NotifyIconW;
  HWND m_owner = nullptr;
  HINSTANCE m_module = nullptr;
  WORD m_iconId = 0;
  IconHandle m_icon;
  std::string m_hint;
  bool m_visible = false;
  bool m_shown = false;
};

}  // namespace discovel
