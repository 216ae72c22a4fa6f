#pragma once
// What makes two catalogued files copies of each other: the criteria the user
// ticks, the key text they give an entry, and the compact hash of that text
// the duplicate search keeps for every entry it reads.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/TextServices.h"
#include "search/CodePageDecoder.h"

namespace discovel {

struct DuplicateCriteria {
  bool sameName = true;   // letter case ignored, as the search ignores it in UTF-8 text
  bool sameSize = true;
  bool sameDate = false;  // the modified time as catalogued
  bool AnyChecked() const { return sameName || sameSize || sameDate; }
};

// Folds names the way the search ignores letter case in UTF-8 text: by
// Unicode's simple case folding, then with ASCII letters in upper case, so
// that a name of ASCII alone keeps the key (and the place in an order) that
// upper-casing gave it. The same name gives the same key from an ANSI
// archive, decoded first, as from a UTF-8 one.
class NameFolder {
 public:
  explicit NameFolder(const TextServices& text);
  // `name` is UTF-8; bytes that are no UTF-8 are kept as they are.
  void Fold(std::string_view name, std::string& out) const;
  // A text of an ANSI archive as UTF-8: itself when it is ASCII, else in `scratch`.
  std::string_view Decoded(std::string_view ansi, std::string& scratch) const {
    return m_decoder.Decoded(ansi, scratch);
  }

 private:
  CodePageDecoder m_decoder;
  // The folding of every character below U+0800 (Latin, Greek, Cyrillic and
  // more, two bytes at most), looked up rather than searched for.
  std::array<char32_t, 0x800> m_shortFoldings{};
};

// The entry's key for the checked criteria, into `out` (replacing it); the
// name is UTF-8. Each field ends with a separator no name holds, so fields
// never run together.
void BuildDuplicateKey(const DuplicateCriteria& criteria, const NameFolder& folder,
                       std::string_view name, std::string_view size, std::string_view time,
                       std::string& out);

// A 64-bit hash of the key text, eight bytes a step. Different keys may share
// a hash; groups are confirmed on the keys themselves.
std::uint64_t DuplicateKeyHash(std::string_view key);

// DuplicateKeyHash of the key BuildDuplicateKey gives, built on the stack
// for a name of ASCII alone; in `scratch` otherwise.
std::uint64_t HashDuplicateKey(const DuplicateCriteria& criteria, const NameFolder& folder,
                               std::string_view name, std::string_view size,
                               std::string_view time, std::string& scratch);

using DuplicateHashFunction = std::uint64_t (*)(std::string_view key);

}  // namespace discovel
