#pragma once
// Best of a few runs, after one that warms the file cache.
#include <algorithm>
#include <chrono>
#include <functional>

namespace discovel::bench {

inline double BestSeconds(const std::function<void()>& run, int rounds = 5) {
  run();
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

// The same with `prepare` run, untimed, before every run.
inline double BestSeconds(const std::function<void()>& prepare, const std::function<void()>& run, int rounds = 5) {
  prepare();
  run();
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

}  // namespace discovel::bench
