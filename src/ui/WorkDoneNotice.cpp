#include "ui/WorkDoneNotice.h"

namespace discovel {

// The message carries no pointers: a posted message may not.
void WorkDoneNotice::Done() {
  const std::lock_guard<std::mutex> lock(m_mutex);
  m_done = true;
  if (m_window) PostMessageW(m_window, m_message, 0, 0);
}

void WorkDoneNotice::PostTo(HWND window, UINT message) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  m_window = window;
  m_message = message;
  if (m_done) PostMessageW(m_window, m_message, 0, 0);
}

void WorkDoneNotice::Forget() {
  const std::lock_guard<std::mutex> lock(m_mutex);
  m_window = nullptr;
}

}  // namespace discovel
