#pragma once
// A shell that records what it is asked to open instead of starting a
// browser or mail program. Safe to read from a test's second thread.
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/ShellLauncher.h"

namespace discovel::test {

class RecordingShell final : public ShellLauncher {
 public:
  using Call = std::pair<std::string, std::string>;

  // The verb as given; "(default)" for none.
  void Launch(HWND, const char* verb, const std::string& file) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_calls.emplace_back(verb ? verb : "(default)", file);
  }
  std::vector<Call> Calls() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
  }

 private:
  std::mutex m_mutex;
  std::vector<Call> m_calls;
};

}  // namespace discovel::test
