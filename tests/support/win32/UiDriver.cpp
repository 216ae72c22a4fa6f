#include "support/win32/UiDriver.h"

#include "ui/MessagePump.h"

namespace discovel::test {
namespace {

struct FindData {
  const char* className;
  const char* caption;
  HWND found;
  bool anyProcess = false;
};

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lParam) {
  auto* data = reinterpret_cast<FindData*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if ((!data->anyProcess && pid != GetCurrentProcessId()) || !IsWindowVisible(hwnd)) return TRUE;
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

HWND FocusOf(HWND window) {
  GUITHREADINFO info{sizeof info};
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

DialogWatcher::~DialogWatcher() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
}

void DialogWatcher::CloseWhenShown(const char* caption, int buttonId) {
  const std::string wanted = caption;
  m_thread = std::thread([this, wanted, buttonId] {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!m_stop && std::chrono::steady_clock::now() < end) {
      if (HWND box = FindProcessWindow("#32770", wanted.c_str())) {
        {
          std::lock_guard lock(m_mutex);
          m_text = MessageBoxText(box);
        }
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
        m_done = true;
        return;
      }
      Sleep(5);
    }
    m_done = true;
  });
}

std::string DialogWatcher::SeenText() {
  while (!m_done) Sleep(5);
  std::lock_guard lock(m_mutex);
  return m_text;
}

}  // namespace discovel::test
