// Program entry: hand over to a running instance, or prepare the run, create
// the main window, greet a new user and run the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/ProgramVersion.h"
#include "app/StartUp.h"
#include "app/fmMain.h"
#include "app/fmThanx.h"
#include "platform/AppContext.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "settings/win32/SettingsStore.h"
#include "ui/ErrorBox.h"
#include "ui/MessagePump.h"

namespace {

// A second start hands over to the first and ends without touching anything.
// This process, started by the user, may take the foreground; it lends that
// right to the first so that it can bring itself (or its dialog) forward.
bool HandedOverToRunningInstance() {
  HWND running = FindWindowW(discovel::Wide(discovel::kMainWindowClass).c_str(), nullptr);
  if (!running) return false;
  DWORD runningProcess = 0;
  if (GetWindowThreadProcessId(running, &runningProcess)) AllowSetForegroundWindow(runningProcess);
  PostMessageW(running, discovel::kMsgSecondInstance, 0, 0);
  SetForegroundWindow(running);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  using namespace discovel;
  if (HandedOverToRunningInstance()) return 0;

  // Some shell handlers that ShellExecute starts need COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  // What every window of this run shares; start-up fills in the run state.
  AppContext context{{SystemFileSystem(), ProgramSettings(), SystemTextServices()}};
  std::optional<TfrmMain> main;
  const bool started = GuardedCall([&] {
    main.emplace(context, StartUp(context, Utf8(ProgramFile()), __argc - 1));
    main->Create();
  });
  int exitCode = 1;
  if (started && main->Handle()) {
    GuardedCall([&] { TfrmThanx::ShowOnFirstRun(context); });
    main->Show(showCommand);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchQueued(msg);
    exitCode = static_cast<int>(msg.wParam);
  }
  // Balanced with the successful initialisation only.
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
