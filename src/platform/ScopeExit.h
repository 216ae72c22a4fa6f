#pragma once
// Clean-up that runs when a scope ends, whether it returns or throws: a
// command's busy state, a window's controls enabled again. While an error
// unwinds, what the clean-up throws is dropped, so the first error is the
// one reported; on a normal end it propagates.
#include <exception>
#include <utility>

namespace discovel {

template <class Cleanup>
class ScopeExit {
 public:
  explicit ScopeExit(Cleanup cleanup) : m_cleanup(std::move(cleanup)), m_unwinding(std::uncaught_exceptions()) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() noexcept(false) {
    if (std::uncaught_exceptions() == m_unwinding) {
      m_cleanup();
      return;
    }
    try {
      m_cleanup();
    } catch (...) {
    }
  }

 private:
  Cleanup m_cleanup;
  int m_unwinding;
};

}  // namespace discovel
