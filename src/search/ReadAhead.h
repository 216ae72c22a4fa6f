#pragma once
// Reads the search's archive files whole on a thread of its own, one file
// ahead, so that reading the next archive overlaps searching this one. The
// files are opened by the caller, on its thread and in its order; only
// BlockReader::Read and closing the file run on the reading thread, so the
// file-system seam needs no locks of its own.
//
// Use: Add the first file; then per file Take it, Add the one after, search.
// A file's bytes stay valid until the next Take. At most one file waits
// beside the one taken. Whichever side comes to a queued file first reads it:
// the caller does when the thread has not started yet (it starts with the
// second file, so a folder of one archive needs none) or lags behind.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "platform/FileSystem.h"
#include "search/WholeFileBuffer.h"

namespace discovel {

class ReadAhead {
 public:
  ReadAhead() = default;
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;
  // Waits for a read in progress; a file not yet read is dropped.
  ~ReadAhead();

  // Queues an opened file to be read to its end (and closed).
  void Add(std::unique_ptr<BlockReader> reader);
  // Queues a file that could not be opened: its Take throws `error`.
  void AddFailure(std::exception_ptr error);
  // The oldest queued file's bytes, once read. Rethrows what opening or
  // reading it threw (std::bad_alloc when it does not fit in memory).
  std::string_view Take();

  // Files read on the reading thread so far.
  int ReadOnThread() const { return m_readOnThread.load(); }
  // Memory the buffers hold, in bytes, while no file is being read.
  std::size_t BufferBytes() const { return m_slots[0].buffer.CapacityBytes() + m_slots[1].buffer.CapacityBytes(); }

 private:
  enum class State { kFree, kQueued, kRead, kTaken };
  struct Slot {
    std::atomic<State> state{State::kFree};
    std::unique_ptr<BlockReader> reader;
    std::exception_ptr error;
    WholeFileBuffer buffer;
  };
  // One side waiting for the other: a flag telling it sleeps, and its wake-up.
  struct Waiter {
    std::atomic<bool> sleeping{false};
    std::condition_variable wake;
  };

  void Queue(std::unique_ptr<BlockReader> reader, std::exception_ptr error);
  // Whether this side gets to read file `file`, which is queued.
  bool Claim(std::size_t file);
  template <class Ready>
  void Await(Waiter& waiter, const Ready& ready);
  void Signal(Waiter& waiter);
  void ReadLoop();
  static void Read(Slot& slot);

  Slot m_slots[2];  // file i goes to slot i % 2
  std::atomic<std::size_t> m_added{0};
  std::atomic<std::size_t> m_claimed{0};  // files claimed for reading, by either side
  std::size_t m_taken = 0;  // the caller's
  std::atomic<bool> m_stop{false};
  std::mutex m_sleepMutex;
  Waiter m_reader;  // waits for a file to read
  Waiter m_caller;  // waits for a file to be read
  std::atomic<int> m_readOnThread{0};
  std::thread m_thread;
  bool m_noThread = false;  // none could be started
};

}  // namespace discovel
