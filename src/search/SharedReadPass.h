#pragma once
// One pass over many files on two threads: the caller's and a helper. Each
// side takes the next file nobody has taken, reads it whole and digests it
// into the result of its slot; the caller then finishes the files one by one,
// in their order. The files are opened on the caller's thread, a few ahead;
// only BlockReader::Read, closing and the digest run on the helper, so the
// file-system seam needs no locks of its own, and the digest must touch
// nothing but its file's bytes, its result and what belongs to its side.
//
// Whatever opening, reading or digesting a file throws reaches `finish` as
// that file's error (std::bad_alloc when it does not fit in memory); what
// `finish` throws ends the pass, after the helper is done with its file.
#include <atomic>
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

template <class Result>
class SharedReadPass {
 public:
  // The helper's side; the caller's is 0.
  static constexpr int kHelperSide = 1;

  // open(file) -> std::unique_ptr<BlockReader>, on the caller's thread;
  // digest(file, bytes, result, side) on either thread;
  // finish(file, result, error) on the caller's thread, in file order. A
  // slot's result is kept from file to file, for its buffers to be reused.
  template <class Open, class Digest, class Finish>
  void Run(std::size_t count, const Open& open, const Digest& digest, const Finish& finish) {
    m_count = count;
    m_opened.store(0);
    m_claimed.store(0);
    m_stop.store(false);
    const auto work = [&](std::size_t file, int side) {
      Slot& slot = m_slots[file % kSlots];
      if (!slot.error) {
        try {
          slot.buffer.ReadWhole(*slot.reader);
          slot.reader.reset();  // closes the file on the side that read it
          digest(file, slot.buffer.Bytes(), slot.result, side);
        } catch (...) {
          slot.error = std::current_exception();
        }
      }
      slot.reader.reset();
      slot.done.store(true);
    };
    const HelperStop stopHelper{*this};
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
      // Rather than wait for the helper, digest the next file nobody took.
      const std::size_t file = m_claimed.load();
      if (file < m_opened.load() && Claim(file)) {
        work(file, 0);
        continue;
      }
      Wait([&] { return next.done.load(); });
    }
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

  // Ends the helper however the pass ends.
  struct HelperStop {
    SharedReadPass& pass;
    ~HelperStop() {
      {
        const std::lock_guard lock(pass.m_mutex);
        pass.m_stop.store(true);
      }
      pass.m_changed.notify_all();
      if (pass.m_helper.joinable()) pass.m_helper.join();
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
    // The helper starts with a second file to take: one file needs none.
    if (m_opened.load() > 1 && !m_helper.joinable() && !m_noHelper) {
      try {
        m_helper = std::thread([this, &work] { HelperLoop(work); });
      } catch (const std::system_error&) {
        m_noHelper = true;  // the caller digests every file itself
      }
    }
    Notify();
  }

  template <class Work>
  void HelperLoop(const Work& work) {
    for (;;) {
      Wait([&] { return m_stop.load() || m_claimed.load() < m_opened.load(); });
      if (m_stop.load()) return;
      const std::size_t file = m_claimed.load();
      if (file >= m_opened.load() || !Claim(file)) continue;
      work(file, kHelperSide);
      Notify();
    }
  }

  bool Claim(std::size_t file) {
    std::size_t expected = file;
    return m_claimed.compare_exchange_strong(expected, file + 1);
  }

  // Both sides wait on one condition; a file takes far longer to read and
  // digest than a wake-up, so waiting briefly in the kernel costs little.
  template <class Ready>
  void Wait(const Ready& ready) {
    std::unique_lock lock(m_mutex);
    ++m_waiting;
    m_changed.wait(lock, ready);
    --m_waiting;
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
  std::thread m_helper;
  bool m_noHelper = false;
};

}  // namespace discovel
