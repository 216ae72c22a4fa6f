#include "app/ShellLauncher.h"

#include <shellapi.h>

#include "app/core/MailLink.h"
#include "platform/win32/WideText.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

class Win32Shell final : public ShellLauncher {
 public:
  void Launch(HWND owner, const char* verb, const std::string& file) override {
    const std::wstring wideVerb = verb ? Wide(verb) : std::wstring();
    ShellExecuteW(owner, verb ? wideVerb.c_str() : nullptr, Wide(file).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
};

}  // namespace

ShellLauncher& SystemShell() {
  static Win32Shell shell;
  return shell;
}

void OpenDocument(HWND owner, const std::string& address, ShellLauncher& shell) {
  // The shell may take a while: the windows are redrawn before it starts.
  PumpMessages();
  shell.Launch(owner, nullptr, address);
}

void SendMail(HWND owner, const std::string& address, const std::string& subject, const std::string& body,
              ShellLauncher& shell) {
  PumpMessages();
  shell.Launch(owner, "open", ComposeMailLink(address, subject, body));
}

}  // namespace discovel
