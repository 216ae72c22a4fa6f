// Program entry: hand over to a running instance, or record where the program
// lives, create the main window, greet a new user and run the message loop.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "app/fmMain.h"
#include "app/fmThanx.h"
#include "platform/AppContext.h"
#include "platform/Platform.h"
#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"
#include "ui/ErrorBox.h"
#include "ui/MessagePump.h"

namespace {

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  using namespace discovel;
  // A second start hands over to the first and ends without touching anything.
  if (HWND running = FindWindowA(kMainWindowClass, nullptr)) {
    PostMessageA(running, kMsgSecondInstance, 0, 0);
    SetForegroundWindow(running);
    return 0;
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  const std::string programPath = ProgramPath();
  // What every window of this run shares; the main window fills in the
  // catalogue folder and the read device.
  AppContext context{SystemFileSystem(), ProgramSettings(), SystemTextServices()};
  TfrmMain main(context, programPath);
  main.SetCommandLineArgumentCount(__argc - 1);
  const bool started = GuardedCall([&] {
    context.settings.WriteString(names::kKeyState, names::kProgramLocation, programPath);
    main.Create();
  });
  if (!started || !main.Handle()) return 1;
  GuardedCall([&] { TfrmThanx::ShowOnFirstRun(context); });
  main.Show(showCommand);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchQueued(msg);
  return static_cast<int>(msg.wParam);
}
