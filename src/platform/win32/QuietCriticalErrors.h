#pragma once
// A drive that is not ready (an empty card reader, a disc tray open) must
// answer with an error, never with the system's "insert a disk" box.
// Start-up sets this for the process; the thread's own mode makes sure of it
// while one of these lives, and leaves the rest of the thread as it was.
#include <windows.h>

namespace discovel {

class QuietCriticalErrors {
 public:
  QuietCriticalErrors() {
    m_set = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &m_old) != 0;
  }
  ~QuietCriticalErrors() {
    if (m_set) SetThreadErrorMode(m_old, nullptr);
  }
  QuietCriticalErrors(const QuietCriticalErrors&) = delete;
  QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

 private:
  DWORD m_old = 0;
  bool m_set = false;
};

}  // namespace discovel
