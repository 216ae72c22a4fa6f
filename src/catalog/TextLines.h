#pragma once
// An archive's lines one after another, without an index of them: CR, LF and
// CR LF each end a line, and the final line end opens no extra empty line.
#include <string_view>

namespace discovel {

class LineCursor {
 public:
  explicit LineCursor(std::string_view text) noexcept : m_at(text.data()), m_end(text.data() + text.size()) {}

  // The next line; false past the last.
  bool Next(std::string_view& line) noexcept {
    if (m_at == m_end) return false;
    const char* end = m_at;
    // Every byte above CR is text: one comparison for nearly all of them.
    while (end != m_end && (static_cast<unsigned char>(*end) > '\r' || (*end != '\r' && *end != '\n'))) ++end;
    line = std::string_view(m_at, static_cast<std::size_t>(end - m_at));
    if (end != m_end) end += (*end == '\r' && end + 1 != m_end && end[1] == '\n') ? 2 : 1;
    m_at = end;
    return true;
  }

 private:
  const char* m_at;
  const char* m_end;
};

}  // namespace discovel
