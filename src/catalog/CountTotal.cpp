#include "catalog/CountTotal.h"

#include <algorithm>

namespace discovel {

void CountTotal::Add(std::uint64_t count) {
  const std::uint64_t low = m_low + count;
  if (low < m_low) ++m_high;  // the low half wrapped: carry
  m_low = low;
}

void CountTotal::Add(const CountTotal& other) {
  Add(other.m_low);
  m_high += other.m_high;
}

CountTotal CountTotal::ShiftedDown(unsigned bits) const {
  if (bits == 0) return *this;
  CountTotal result;
  result.m_low = (m_low >> bits) | (m_high << (64 - bits));
  result.m_high = m_high >> bits;
  return result;
}

void CountTotal::Subtract(std::uint64_t count) {
  if (m_high == 0 && count > m_low) {
    m_low = 0;
    return;
  }
  if (count > m_low) --m_high;  // borrow
  m_low -= count;
}

std::string CountTotal::Digits() const {
  // Long division by 10 over four 32-bit limbs, most significant first.
  std::uint32_t limbs[4] = {static_cast<std::uint32_t>(m_high >> 32), static_cast<std::uint32_t>(m_high),
                            static_cast<std::uint32_t>(m_low >> 32), static_cast<std::uint32_t>(m_low)};
  std::string digits;
  do {
    std::uint64_t remainder = 0;
    bool any = false;
    for (std::uint32_t& limb : limbs) {
      const std::uint64_t part = (remainder << 32) | limb;
      limb = static_cast<std::uint32_t>(part / 10);
      remainder = part % 10;
      any = any || limb != 0;
    }
    digits += static_cast<char>('0' + remainder);
    if (!any) break;
  } while (true);
  std::reverse(digits.begin(), digits.end());
  return digits;
}

}  // namespace discovel
