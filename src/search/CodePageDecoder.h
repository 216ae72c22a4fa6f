#pragma once
// The texts of ANSI archives as UTF-8, for what leaves the search: the code
// page's text of each byte looked up in a table where the code page has one
// byte per character, and names of ASCII alone passed on as they are.
#include <array>
#include <string>
#include <string_view>

#include "platform/TextServices.h"

namespace discovel {

class CodePageDecoder {
 public:
  explicit CodePageDecoder(const TextServices& text);

  // `ansi` as UTF-8: `ansi` itself when it is ASCII, else its text in `scratch`.
  std::string_view Decoded(std::string_view ansi, std::string& scratch) const;
  void Append(std::string_view ansi, std::string& out) const;

 private:
  const TextServices& m_text;
  bool m_singleByte;
  std::array<std::string, 128> m_high;  // single-byte code pages: bytes 0x80 to 0xFF
};

}  // namespace discovel
