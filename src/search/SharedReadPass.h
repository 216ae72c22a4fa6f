#pragma once
// One pass over many files on two helper threads. Each helper takes the next
// file nobody has taken, reads it whole and digests it into the result of its
// slot; the caller, the window's thread, opens the files a few ahead and
// finishes them one by one, in their order. It never reads a file itself, so
// a slow file (on a share) never holds it up: while it waits for a helper it
// pauses (pumps the window's messages) every kPauseEvery. Only
// BlockReader::Read, closing and the digest run on the helpers, so the
// file-system seam needs no locks of its own, and the digest must touch
// nothing but its file's bytes, its result and what belongs to its side.
//
// Whatever opening, reading or digesting a file throws reaches `finish` as
// that file's error (std::bad_alloc when it does not fit in memory); what
// `finish` or `pause` throws ends the pass, after the helpers are done with
// the block they are reading.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>

#include "platform/FileSystem.h"
#include "search/WholeFileBuffer.h"

namespace discovel {

// The sides that digest: 0 is the caller (only where no helper could be
// started), 1 and 2 the helpers.
inline constexpr int kReadPassSides = 3;

template <class Result>
class SharedReadPass {
 public:
  static constexpr int kHelpers = kReadPassSides - 1;
  // How long the caller waits for a helper before it pauses.
  static constexpr std::chrono::milliseconds kPauseEvery{20};

  // open(file) -> std::unique_ptr<BlockReader>, on the caller's thread;
  // digest(file, bytes, result, side) on a helper;
  // finish(file, result, error) on the caller's thread, in file order;
  // pause() on the caller's thread while it waits.
  // A slot's result is kept from file to file, for its buffers to be reused.
  template <class Open, class Digest, class Finish, class Pause>
  void Run(std::size_t count, const Open& open, const Digest& digest, const Finish& finish, const Pause& pause) {
    m_count = count;
    m_startTried = false;
    m_opened.store(0);
    m_claimed.store(0);
    m_stop.store(false);
    const auto work = [&](std::size_t file, int side) {
      Slot& slot = m_slots[file % kSlots];
      if (!slot.error) {
        try {
          if (slot.buffer.ReadWhole(*slot.reader, [this] { return !m_stop.load(); })) {
            slot.reader.reset();  // closes the file on the side that read it
            digest(file, slot.buffer.Bytes(), slot.result, side);
          }
        } catch (...) {
          slot.error = std::current_exception();
        }
      }
      slot.reader.reset();
      slot.buffer.Release();
      slot.done.store(true);
    };
    const HelperStop stopHelpers{*this};
    std::size_t finished = 0;
    while (finished < count) {
      OpenAhead(finished, open, work);
      Slot& next = m_slots[finished % kSlots];
      if (next.done.load()) {
        std::exception_ptr error = std::move(next.error);
        next.error = nullptr;
        next.done.store(false);
        ++finished;
        finish(finished - 1, next.result, error);
        continue;
      }
      if (m_started == 0) {
        // No helper could be started: the caller digests every file itself.
        const std::size_t file = m_claimed.load();
        if (Claim(file)) work(file, 0);
        continue;
      }
      WaitPausing([&] { return next.done.load(); }, pause);
    }
  }

  // Memory the slots' buffers hold between passes, in bytes.
  std::size_t BufferBytes() const {
    std::size_t bytes = 0;
    for (const Slot& slot : m_slots) bytes += slot.buffer.CapacityBytes();
    return bytes;
  }

 private:
  // Files opened ahead of the first not yet finished.
  static constexpr std::size_t kSlots = 4;

  struct Slot {
    std::atomic<bool> done{false};  // read and digested, or failed
    std::unique_ptr<BlockReader> reader;
    std::exception_ptr error;
    WholeFileBuffer buffer;
    Result result{};
  };

  // Ends the helpers however the pass ends.
  struct HelperStop {
    SharedReadPass& pass;
    ~HelperStop() {
      {
        const std::lock_guard lock(pass.m_mutex);
        pass.m_stop.store(true);
      }
      pass.m_changed.notify_all();
      for (std::thread& helper : pass.m_helpers) {
        if (helper.joinable()) helper.join();
      }
      pass.m_started = 0;
    }
  };

  template <class Open, class Work>
  void OpenAhead(std::size_t finished, const Open& open, const Work& work) {
    bool added = false;
    for (std::size_t file = m_opened.load(); file < m_count && file < finished + kSlots; ++file) {
      Slot& slot = m_slots[file % kSlots];
      try {
        slot.reader = open(file);
      } catch (...) {
        slot.error = std::current_exception();
      }
      m_opened.store(file + 1);
      added = true;
    }
    if (!added) return;
    StartHelpers(work);
    Notify();
  }

  // As many helpers as there are files for, once.
  template <class Work>
  void StartHelpers(const Work& work) {
    if (m_startTried) return;
    m_startTried = true;
    const int wanted = static_cast<int>(std::min<std::size_t>(kHelpers, m_count));
    for (int h = 0; h < wanted; ++h) {
      try {
        m_helpers[h] = std::thread([this, &work, side = h + 1] { HelperLoop(work, side); });
        ++m_started;
      } catch (const std::system_error&) {
        break;  // the helpers started so far do the work
      }
    }
  }

  template <class Work>
  void HelperLoop(const Work& work, int side) {
    for (;;) {
      Wait([&] { return m_stop.load() || m_claimed.load() < m_opened.load(); });
      if (m_stop.load()) return;
      const std::size_t file = m_claimed.load();
      if (file >= m_opened.load() || !Claim(file)) continue;
      work(file, side);
      Notify();
    }
  }

  bool Claim(std::size_t file) {
    std::size_t expected = file;
    return m_claimed.compare_exchange_strong(expected, file + 1);
  }

  // Every side waits on one condition; a file takes far longer to read and
  // digest than a wake-up, so waiting in the kernel costs little.
  template <class Ready>
  void Wait(const Ready& ready) {
    std::unique_lock lock(m_mutex);
    ++m_waiting;
    m_changed.wait(lock, ready);
    --m_waiting;
  }
  template <class Ready, class Pause>
  void WaitPausing(const Ready& ready, const Pause& pause) {
    for (;;) {
      {
        std::unique_lock lock(m_mutex);
        ++m_waiting;
        const bool isReady = m_changed.wait_for(lock, kPauseEvery, ready);
        --m_waiting;
        if (isReady) return;
      }
      pause();  // outside the lock: the helpers go on meanwhile
    }
  }
  void Notify() {
    {
      const std::lock_guard lock(m_mutex);
      if (m_waiting == 0) return;
    }
    m_changed.notify_all();
  }

  Slot m_slots[kSlots];
  std::size_t m_count = 0;
  std::atomic<std::size_t> m_opened{0};   // files opened (or failed to), in order
  std::atomic<std::size_t> m_claimed{0};  // files taken by either side, in order
  std::atomic<bool> m_stop{false};
  std::mutex m_mutex;
  std::condition_variable m_changed;
  int m_waiting = 0;  // under m_mutex
  std::thread m_helpers[kHelpers];
  int m_started = 0;  // helpers running
  bool m_startTried = false;
};

}  // namespace discovel
