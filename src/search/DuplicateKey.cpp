#include "search/DuplicateKey.h"

#include <algorithm>
#include <cstring>

#include "catalog/TextUtil.h"
#include "search/SearchCriteria.h"
#include "text/CaseFold.h"
#include "text/Utf8.h"

namespace discovel {

namespace {

char UpperAscii(char32_t c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 0x20 : c); }

}  // namespace

NameFolder::NameFolder(const TextServices& text) : m_decoder(text) {
  for (char32_t code = 0; code < m_shortFoldings.size(); ++code) m_shortFoldings[code] = casefold::Fold(code);
}

void NameFolder::Fold(std::string_view name, std::string& out) const {
  for (std::size_t i = 0; i < name.size();) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte < 0x80) {
      out += UpperAscii(byte);
      ++i;
      continue;
    }
    const utf8::Decoded decoded = utf8::DecodeAt(name, i);
    if (decoded.code == utf8::kReplacement && decoded.length == 1) {
      out += name[i];
    } else {
      const char32_t folded =
          decoded.code < m_shortFoldings.size() ? m_shortFoldings[decoded.code] : casefold::Fold(decoded.code);
      if (folded < 0x80) {
        out += UpperAscii(folded);  // the Kelvin sign and the long s
      } else {
        utf8::Append(folded, out);
      }
    }
    i += decoded.length;
  }
}

void BuildDuplicateKey(const DuplicateCriteria& criteria, const NameFolder& folder,
                       std::string_view name, std::string_view size, std::string_view time,
                       std::string& out) {
  out.clear();
  if (criteria.sameName) folder.Fold(name, out);
  out += kFieldSeparator;
  if (criteria.sameSize) out += TrimBlanksAndControls(size);
  out += kFieldSeparator;
  if (criteria.sameDate) out += TrimBlanksAndControls(time);
}

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
// Longer keys are built as a string; a name is rarely near this.
constexpr std::size_t kKeyOnStack = 256;

inline std::uint64_t Rotated(std::uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

}  // namespace

std::uint64_t DuplicateKeyHash(std::string_view key) {
  // Eight bytes a step, little-endian, then the last few with the length.
  std::uint64_t hash = key.size() * kMultiplier;
  std::size_t i = 0;
  for (; i + 8 <= key.size(); i += 8) {
    std::uint64_t word;  // the program runs on little-endian processors only
    std::memcpy(&word, key.data() + i, sizeof word);
    hash = (Rotated(hash, 23) ^ word) * kMultiplier;
  }
  std::uint64_t last = 0;
  for (std::size_t k = key.size(); k > i; --k) last = (last << 8) | static_cast<unsigned char>(key[k - 1]);
  hash = (Rotated(hash, 23) ^ last) * kMultiplier;
  // The top bits sort the records into buckets: every bit of the key reaches them.
  hash ^= hash >> 32;
  hash *= 0xD6E8FEB86659FD93ull;
  hash ^= hash >> 29;
  return hash;
}

std::uint64_t HashDuplicateKey(const DuplicateCriteria& criteria, const NameFolder& folder,
                               std::string_view name, std::string_view size,
                               std::string_view time, std::string& scratch) {
  if (criteria.sameSize) size = TrimBlanksAndControls(size);
  if (criteria.sameDate) time = TrimBlanksAndControls(time);
  const std::size_t length = (criteria.sameName ? name.size() : 0) + (criteria.sameSize ? size.size() : 0) +
                             (criteria.sameDate ? time.size() : 0) + 2;
  const bool ascii = !criteria.sameName || utf8::IsAscii(name);
  if (!ascii || length > kKeyOnStack) {
    BuildDuplicateKey(criteria, folder, name, size, time, scratch);
    return DuplicateKeyHash(scratch);
  }
  // The key as BuildDuplicateKey gives it, on the stack.
  char key[kKeyOnStack];
  char* at = key;
  if (criteria.sameName) {
    for (const char c : name) *at++ = UpperAscii(static_cast<unsigned char>(c));
  }
  *at++ = kFieldSeparator;
  if (criteria.sameSize) at = std::copy(size.begin(), size.end(), at);
  *at++ = kFieldSeparator;
  if (criteria.sameDate) at = std::copy(time.begin(), time.end(), at);
  return DuplicateKeyHash(std::string_view(key, static_cast<std::size_t>(at - key)));
}

}  // namespace discovel
