#include "support/win32/UiDriver.h"

#include <dbt.h>

#include "ui/MessagePump.h"

namespace discovel::test {
namespace {

struct FindData {
  const char* className;
  const char* caption;
  HWND found;
  bool anyProcess = false;
  DWORD processId = 0;  // 0: this process, unless any process will do
};

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lParam) {
  auto* data = reinterpret_cast<FindData*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  const DWORD wanted = data->processId ? data->processId : GetCurrentProcessId();
  if ((!data->anyProcess && pid != wanted) || !IsWindowVisible(hwnd)) return TRUE;
  char text[256] = {};
  if (data->className) {
    GetClassNameA(hwnd, text, sizeof text);
    if (lstrcmpA(text, data->className) != 0) return TRUE;
  }
  if (data->caption) {
    GetWindowTextA(hwnd, text, sizeof text);
    if (lstrcmpA(text, data->caption) != 0) return TRUE;
  }
  data->found = hwnd;
  return FALSE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    // As the program's own loops do: key preview and dialog keys included.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchQueued(msg);
    Sleep(5);
  }
  return true;
}

HWND FindProcessWindow(const char* className, const char* caption) {
  FindData data{className, caption, nullptr};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

HWND FindWindowOfProcess(DWORD processId, const char* className) {
  FindData data{className, nullptr, nullptr, false, processId};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

std::string MessageBoxText(HWND box) {
  char text[1024] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

HWND WaitForWindow(const char* className, bool anyProcess, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  do {
    FindData data{className, nullptr, nullptr, anyProcess};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&data));
    if (data.found) return data.found;
    Sleep(10);
  } while (std::chrono::steady_clock::now() < end);
  return nullptr;
}

bool WaitForWindowGone(HWND hwnd, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(10);
  }
  return true;
}

std::string ControlText(HWND dialog, int id) {
  char text[1024] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

std::string WindowCaption(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string WaitForControlText(HWND dialog, int id, const std::string& prefix, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  std::string text;
  do {
    text = ControlText(dialog, id);
    if (text.compare(0, prefix.size(), prefix) == 0) return text;
    Sleep(10);
  } while (std::chrono::steady_clock::now() < end);
  return text;
}

void Click(HWND dialog, int id) {
  // Posted, so a message box the click opens does not block the script.
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ClickWithMouse(HWND control, bool twice) {
  const LPARAM point = MAKELPARAM(5, 5);
  PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(control, WM_LBUTTONUP, 0, point);
  if (twice) {
    PostMessageA(control, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageA(control, WM_LBUTTONUP, 0, point);
  }
}

void PressKey(HWND window, UINT virtualKey) {
  const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

void SendKeyInput(UINT virtualKey, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

void SendVolumeArrival(HWND window, DWORD unitMask, WORD flags) {
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = unitMask;
  volume.dbcv_flags = flags;
  SendMessageA(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume));
}

std::string AnswerMessageBox(int buttonId, std::chrono::milliseconds timeout) {
  HWND box = WaitForWindow("#32770", false, timeout);
  if (!box) return "";
  const std::string text = MessageBoxText(box);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
  WaitForWindowGone(box);
  return text;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{sizeof info};
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

}  // namespace discovel::test
