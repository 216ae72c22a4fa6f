#pragma once
// Counts the message boxes this process shows while it watches, closing each,
// so that a test can assert that none came without hanging when one does.
#include <atomic>
#include <thread>

namespace discovel::test {

class ErrorBoxCounter {
 public:
  ErrorBoxCounter();
  ~ErrorBoxCounter() { Stop(); }
  ErrorBoxCounter(const ErrorBoxCounter&) = delete;
  ErrorBoxCounter& operator=(const ErrorBoxCounter&) = delete;

  // Stops watching; returns how many boxes were shown.
  int Stop();

 private:
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_count{0};
  std::thread m_thread;
};

}  // namespace discovel::test
