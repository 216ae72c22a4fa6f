// Program entry: record where the program lives, create the main window and run
// the message loop until it closes.
#include <windows.h>
#include <commctrl.h>

#include "app/fmMain.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "ui/ErrorBox.h"

namespace {

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  using namespace discovel;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  const std::string programPath = ProgramPath();
  TfrmMain frmMain(programPath);
  const bool started = GuardedCall([&] {
    ProgramSettings().WriteString(names::kKeyState, names::kProgramLocation, programPath);
    frmMain.Create();
  });
  if (!started || !frmMain.Handle()) return 1;
  ShowWindow(frmMain.Handle(), showCommand);
  UpdateWindow(frmMain.Handle());

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
