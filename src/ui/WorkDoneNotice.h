#pragma once
// Tells a window, by a posted message, that work on another thread has
// ended, whether the work ends before the window exists or after it.
#include <windows.h>

#include <mutex>

namespace discovel {

class WorkDoneNotice {
 public:
  // On the work's thread, as its last step.
  void Done();
  // On the window's thread once the window exists: `message` is posted to it
  // now when the work has ended, else when it ends.
  void PostTo(HWND window, UINT message);
  // The window goes: nothing is posted to it any more.
  void Forget();

 private:
  std::mutex m_mutex;
  HWND m_window = nullptr;
  UINT m_message = 0;
  bool m_done = false;
};

}  // namespace discovel
