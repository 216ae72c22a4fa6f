#pragma once
// A sum of counts that cannot overflow: each count is a 64-bit value of 0 or
// more, and the sum is kept in 128 bits, so even a catalogue of many discs
// near the 64-bit limit is summed exactly.
#include <compare>
#include <cstdint>
#include <string>

namespace discovel {

class CountTotal {
 public:
  CountTotal() = default;
  explicit CountTotal(std::uint64_t count) : m_low(count) {}
  void Add(std::uint64_t count);
  void Add(const CountTotal& other);
  // Takes back a count that was added; the total never goes below 0.
  void Subtract(std::uint64_t count);
  // The exact decimal digits, "0" for an empty total.
  std::string Digits() const;
  bool IsZero() const { return m_high == 0 && m_low == 0; }
  // The total divided by 2 to the power of `bits` (below 64), rounded down.
  CountTotal ShiftedDown(unsigned bits) const;
  // The total's lowest `bits` (below 64): what ShiftedDown drops.
  std::uint64_t LowBits(unsigned bits) const { return m_low & ((std::uint64_t{1} << bits) - 1); }
  // By value: the high half first.
  friend auto operator<=>(const CountTotal&, const CountTotal&) = default;

 private:
  std::uint64_t m_high = 0;
  std::uint64_t m_low = 0;
};

}  // namespace discovel
