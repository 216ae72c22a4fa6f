#include "search/ReadAhead.h"

#include <chrono>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace discovel {
namespace {

// A side that waits spins first, pausing and now and then yielding, for up to
// this long before it sleeps: under Wine a sleep and its wake-up cost some
// 100 µs, about as much as searching half an archive. A search hands over a
// file every few hundred µs, so neither side sleeps while one runs.
constexpr auto kYieldFor = std::chrono::milliseconds(2);

}  // namespace

ReadAhead::~ReadAhead() {
  m_stop.store(true);
  Signal(m_reader);
  if (m_thread.joinable()) m_thread.join();
}

template <class Ready>
void ReadAhead::Await(Waiter& waiter, const Ready& ready) {
  const auto until = std::chrono::steady_clock::now() + kYieldFor;
  for (unsigned spins = 0; !ready(); ++spins) {
    if (spins % 16 == 15 && std::chrono::steady_clock::now() > until) {
      std::unique_lock lock(m_sleepMutex);
      // Seen by Signal either before it looks at the flag, or not at all,
      // when ready() below already sees what it announces.
      waiter.sleeping.store(true);
      waiter.wake.wait(lock, ready);
      waiter.sleeping.store(false);
      return;
    }
#if defined(__i386__) || defined(__x86_64__)
    // Leaves the core to the other side where both share one.
    for (int k = 0; k < 32; ++k) __builtin_ia32_pause();
    if (spins % 8 == 7) std::this_thread::yield();
#else
    std::this_thread::yield();
#endif
  }
}

void ReadAhead::Signal(Waiter& waiter) {
  if (waiter.sleeping.load()) {
    // Taking the lock waits until the sleeper is really waiting.
    const std::lock_guard lock(m_sleepMutex);
    waiter.wake.notify_one();
  }
}

void ReadAhead::Queue(std::unique_ptr<BlockReader> reader, std::exception_ptr error) {
  const std::size_t file = m_added.load();
  Slot& slot = m_slots[file % 2];
  if (slot.state.load() != State::kFree) throw std::logic_error("ReadAhead: two files wait already");
  slot.reader = std::move(reader);
  slot.error = std::move(error);
  slot.state.store(State::kQueued);
  m_added.store(file + 1);
  // The caller is about to search the file it took: a thread can read meanwhile.
  if (file > 0 && !m_thread.joinable() && !m_noThread) {
    try {
      m_thread = std::thread([this] { ReadLoop(); });
    } catch (const std::system_error&) {
      m_noThread = true;  // then the caller reads every file itself
    }
  }
  Signal(m_reader);
}

void ReadAhead::Add(std::unique_ptr<BlockReader> reader) { Queue(std::move(reader), nullptr); }

void ReadAhead::AddFailure(std::exception_ptr error) { Queue(nullptr, std::move(error)); }

bool ReadAhead::Claim(std::size_t file) {
  std::size_t expected = file;
  return m_claimed.compare_exchange_strong(expected, file + 1);
}

std::string_view ReadAhead::Take() {
  if (m_taken > 0) {
    // The file taken before is done with, and its place with it.
    Slot& done = m_slots[(m_taken - 1) % 2];
    done.buffer.Release();
    done.state.store(State::kFree);
  }
  const std::size_t file = m_taken;
  if (file >= m_added.load()) throw std::logic_error("ReadAhead: nothing queued");
  Slot& slot = m_slots[file % 2];
  if (Claim(file)) {
    Read(slot);
  } else {
    Await(m_caller, [&] { return slot.state.load() == State::kRead; });
  }
  slot.state.store(State::kTaken);
  ++m_taken;
  if (slot.error) std::rethrow_exception(std::exchange(slot.error, nullptr));
  return slot.buffer.Bytes();
}

void ReadAhead::ReadLoop() {
  for (;;) {
    Await(m_reader, [&] { return m_stop.load() || m_claimed.load() < m_added.load(); });
    if (m_stop.load()) return;
    // The caller may have taken files since: look again at what is queued.
    const std::size_t file = m_claimed.load();
    if (file >= m_added.load() || !Claim(file)) continue;
    Slot& slot = m_slots[file % 2];
    Read(slot);
    ++m_readOnThread;
    slot.state.store(State::kRead);
    Signal(m_caller);
  }
}

void ReadAhead::Read(Slot& slot) {
  if (slot.reader) {
    try {
      slot.buffer.ReadWhole(*slot.reader);
    } catch (...) {
      slot.error = std::current_exception();
    }
    slot.reader.reset();  // closes the file on the side that read it
  }
}

}  // namespace discovel
