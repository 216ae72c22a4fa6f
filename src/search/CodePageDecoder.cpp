#include "search/CodePageDecoder.h"

#include "text/Utf8.h"

namespace discovel {

CodePageDecoder::CodePageDecoder(const TextServices& text)
    : m_text(text), m_singleByte(text.IsSingleByteCodePage()) {
  if (!m_singleByte) return;
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const char c = static_cast<char>(byte);
    m_high[byte - 0x80] = text.FromCodePage(std::string_view(&c, 1));
  }
}

void CodePageDecoder::Append(std::string_view ansi, std::string& out) const {
  if (!m_singleByte) {
    m_text.AppendAsUtf8(ansi, out);
    return;
  }
  for (const char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += m_high[byte - 0x80];
    }
  }
}

std::string_view CodePageDecoder::Decoded(std::string_view ansi, std::string& scratch) const {
  if (utf8::IsAscii(ansi)) return ansi;
  scratch.clear();
  Append(ansi, scratch);
  return scratch;
}

}  // namespace discovel
