#pragma once
// Keeps many short texts in large blocks: one allocation for thousands of
// them, and none to free one by one. A kept text stays where it is until Clear.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace discovel {

class TextArena {
 public:
  std::string_view Keep(std::string_view text) {
    if (m_left < text.size()) {
      const std::size_t size = std::max(kBlockBytes, text.size());
      m_blocks.emplace_back(new char[size]);
      m_next = m_blocks.back().get();
      m_left = size;
    }
    std::copy(text.begin(), text.end(), m_next);
    const std::string_view kept(m_next, text.size());
    m_next += text.size();
    m_left -= text.size();
    return kept;
  }
  // Takes over `other`'s texts, which stay where they are; `other` is left empty.
  void Adopt(TextArena& other) {
    for (auto& block : other.m_blocks) m_blocks.push_back(std::move(block));
    other.Clear();
  }
  void Clear() {
    m_blocks.clear();
    m_next = nullptr;
    m_left = 0;
  }

 private:
  static constexpr std::size_t kBlockBytes = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> m_blocks;
  char* m_next = nullptr;
  std::size_t m_left = 0;
};

}  // namespace discovel
