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
  void Add(std::uint64_t count);
  // Takes back a count that was added; the total never goes below 0.
  void Subtract(std::uint64_t count);
  // The exact decimal digits, "0" for an empty total.
  std::string Digits() const;
  bool IsZero() const { return m_high == 0 && m_low == 0; }
  // By value: the high half first.
  friend auto operator<=>(const CountTotal&, const CountTotal&) = default;

 private:
  std::uint64_t m_high = 0;
  std::uint64_t m_low = 0;
};

}  // namespace discovel
