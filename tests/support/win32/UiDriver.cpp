#include "support/win32/UiDriver.h"

#include <dbt.h>

#include <iterator>
#include <vector>

#include "platform/win32/WideText.h"
#include "ui/MessagePump.h"
#include "ui/WindowText.h"

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
  if (data->className && ClassOf(hwnd) != data->className) return TRUE;
  if (data->caption && TextOf(hwnd) != data->caption) return TRUE;
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
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchQueued(msg);
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

std::string MessageBoxText(HWND box) { return ControlText(box, 0xFFFF); }

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

HWND OpenPopUpMenu(HWND owner, const std::function<void()>& open) {
  constexpr int kAttempts = 4;
  constexpr DWORD kSettleMs = 150;
  const DWORD thread = GetWindowThreadProcessId(owner, nullptr);
  // No menu may open while another is up or a control holds the mouse.
  const auto idle = [thread] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && !info.hwndCapture && !(info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE));
  };
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    WaitUntil(idle, std::chrono::seconds(2));
    open();
    HWND menu = WaitForWindow("#32768", false, std::chrono::seconds(3));
    if (!menu) continue;
    Sleep(kSettleMs);
    if (IsWindow(menu) && IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

std::string ControlText(HWND dialog, int id) {
  const HWND control = GetDlgItem(dialog, id);
  return control ? TextOf(control) : std::string();
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring item(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    items.push_back(Utf8(item.c_str()));
  }
  return items;
}

void SetControlText(HWND dialog, int id, std::string_view text) { SetTextOf(GetDlgItem(dialog, id), text); }

std::string WindowCaption(HWND window) { return TextOf(window); }

std::string MenuCaption(HMENU menu, int position) {
  const int length = GetMenuStringW(menu, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
  if (length <= 0) return {};
  std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
  GetMenuStringW(menu, static_cast<UINT>(position), caption.data(), length + 1, MF_BYPOSITION);
  return Utf8(caption.c_str());
}

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return Utf8(name);
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
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ClickWithMouse(HWND control, bool twice) {
  const LPARAM point = MAKELPARAM(5, 5);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(control, WM_LBUTTONUP, 0, point);
  if (twice) {
    PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageW(control, WM_LBUTTONUP, 0, point);
  }
}

void PressKey(HWND window, UINT virtualKey) {
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageW(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

void SendKeyInput(UINT virtualKey, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

void TypeText(std::string_view text) {
  // Each UTF-16 unit is one press and release of the packet key; an emoji
  // is two, its surrogates, as an input method types it.
  std::vector<INPUT> inputs;
  for (const wchar_t unit : Wide(text)) {
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = static_cast<WORD>(unit);
      input.ki.dwFlags = KEYEVENTF_UNICODE | up;
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendVolumeArrival(HWND window, DWORD unitMask, WORD flags) {
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = unitMask;
  volume.dbcv_flags = flags;
  SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume));
}

std::string AnswerMessageBox(int buttonId, std::chrono::milliseconds timeout) {
  HWND box = WaitForWindow("#32770", false, timeout);
  if (!box) return "";
  const std::string text = MessageBoxText(box);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
  WaitForWindowGone(box);
  return text;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{sizeof info};
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

}  // namespace discovel::test
