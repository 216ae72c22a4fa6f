#pragma once
// An allocator whose containers grow without writing their new elements: a
// record of plain data is default-initialised, that is left as it is, for
// records that are all written before they are read. A large list so fills
// fresh memory once, by the thread that writes it.
#include <memory>
#include <new>
#include <utility>

namespace discovel {

template <class T>
struct DefaultInitAllocator : std::allocator<T> {
  using std::allocator<T>::allocator;

  template <class U>
  void construct(U* at) noexcept(noexcept(::new(static_cast<void*>(at)) U)) {
    ::new (static_cast<void*>(at)) U;
  }
  template <class U, class... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }
};

}  // namespace discovel
