#pragma once
// The program's icon in the notification area of the task bar. Its mouse
// notices reach the owner window as kCallbackMessage with the mouse message in
// lParam; the owner decides what they do.
#include <windows.h>

#include <string>

namespace discovel {

class TrayIcon {
 public:
  static constexpr UINT kCallbackMessage = WM_APP + 40;

  TrayIcon() = default;
  ~TrayIcon() { SetVisible(false); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  void Attach(HWND owner, HICON icon, std::string hint);
  void SetVisible(bool visible);
  bool Visible() const { return m_visible; }
  // The task bar was (re)created, as after Explorer restarted: it has
  // forgotten the icon, which is shown again if it should be.
  void TaskBarCreated();
  // The message the shell broadcasts when the task bar is (re)created.
  static UINT TaskBarCreatedMessage();

 private:
  bool Add();
  HWND m_owner = nullptr;
  HICON m_icon = nullptr;
  std::string m_hint;
  bool m_visible = false;
};

}  // namespace discovel
