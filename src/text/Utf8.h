#pragma once
// The program keeps all text as UTF-8. Names come from the system as UTF-16,
// which may hold a surrogate without its partner (NTFS and Joliet do not
// forbid one): such a unit is kept as its own three-byte sequence, as WTF-8
// does, so that every name comes back to the system exactly as it was given.
#include <cstddef>
#include <string>
#include <string_view>

namespace discovel::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

std::string FromUtf16(std::u16string_view text);
// Bytes that are no UTF-8 become U+FFFD, one for each bad byte.
std::u16string ToUtf16(std::string_view text);

// The code point that starts at `text[at]` and its byte count; a byte that
// starts no valid sequence gives U+FFFD and 1. A lone surrogate's sequence
// gives the surrogate.
struct Decoded {
  char32_t code;
  std::size_t length;
};
Decoded DecodeAt(std::string_view text, std::size_t at);
void Append(char32_t code, std::string& out);

// Every byte below 0x80.
bool IsAscii(std::string_view text);
// Well-formed UTF-8, lone surrogates' sequences included.
bool IsValid(std::string_view text);

}  // namespace discovel::utf8
