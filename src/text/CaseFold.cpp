#include "text/CaseFold.h"

#include <algorithm>
#include <iterator>

#include "text/Utf8.h"

namespace discovel::casefold {
namespace {

struct Mapping {
  char32_t from;
  char32_t to;
};

constexpr Mapping kMappings[] = {
#include "text/CaseFoldingTable.inc"
};

}  // namespace

char32_t Fold(char32_t code) {
  if (code < 0x80) return code >= 'A' && code <= 'Z' ? code + 32 : code;
  const Mapping* found = std::lower_bound(std::begin(kMappings), std::end(kMappings), code,
                                          [](const Mapping& m, char32_t c) { return m.from < c; });
  return found != std::end(kMappings) && found->from == code ? found->to : code;
}

void AppendFolded(std::string_view utf8, std::string& out) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
      ++i;
      continue;
    }
    const utf8::Decoded decoded = utf8::DecodeAt(utf8, i);
    if (decoded.code == utf8::kReplacement && decoded.length == 1) {
      out += utf8[i];  // no UTF-8: kept
    } else {
      utf8::Append(Fold(decoded.code), out);
    }
    i += decoded.length;
  }
}

std::string Fold(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  AppendFolded(utf8, out);
  return out;
}

bool EqualFolded(std::string_view a, std::string_view b) { return Fold(a) == Fold(b); }

}  // namespace discovel::casefold
