#include "support/win32/ErrorBoxCounter.h"

#include <windows.h>

#include "support/win32/UiDriver.h"

namespace discovel::test {

ErrorBoxCounter::ErrorBoxCounter()
    : m_thread([this] {
        while (!m_stop) {
          if (HWND box = FindProcessWindow("#32770", nullptr)) {
            ++m_count;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            WaitForWindowGone(box);
          }
          Sleep(5);
        }
      }) {}

int ErrorBoxCounter::Stop() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  return m_count;
}

}  // namespace discovel::test
