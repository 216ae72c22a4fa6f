#pragma once
// Handing web addresses and mailto: links to the shell. The shell's answer is
// never looked at: a missing browser or mail program is not reported.
#include <windows.h>

#include <string>

namespace discovel {

class ShellLauncher {
 public:
  virtual ~ShellLauncher() = default;
  // `verb` null: the file's default verb. Shown normally. `file` is UTF-8.
  virtual void Launch(HWND owner, const char* verb, const std::string& file) = 0;
};

// The real shell (ShellExecuteW).
ShellLauncher& SystemShell();

// Opens a web address or any document with its default verb.
void OpenDocument(HWND owner, const std::string& address, ShellLauncher& shell = SystemShell());
// Starts an e-mail; see ComposeMailLink.
void SendMail(HWND owner, const std::string& address, const std::string& subject, const std::string& body,
              ShellLauncher& shell = SystemShell());

}  // namespace discovel
