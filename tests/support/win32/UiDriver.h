#pragma once
// Driving modal windows from a test: a second thread polls for the window (never
// a fixed sleep), reads what it shows and answers it, while the test's own
// thread sits in the window's modal loop.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace discovel::test {

// Polls `condition` while pumping this thread's messages; false on timeout.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Finds a top-level window of this process by class and caption (null: any).
HWND FindProcessWindow(const char* className, const char* caption);

// The text of a message box (its static control).
std::string MessageBoxText(HWND box);

class DialogWatcher {
 public:
  DialogWatcher() = default;
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  // When a message box captioned `caption` appears, remember its text and
  // press the button `buttonId` (IDOK, IDYES, ...).
  void CloseWhenShown(const char* caption, int buttonId);
  // Waits for the watcher to have answered; returns the text it saw.
  std::string SeenText();

 private:
  std::thread m_thread;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_done{false};
  std::mutex m_mutex;
  std::string m_text;
};

}  // namespace discovel::test
