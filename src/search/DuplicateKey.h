#pragma once
// What makes two catalogued files copies of each other: the criteria the user
// ticks, the key text they give an entry, and the compact hash of that text
// the duplicate search keeps for every entry it reads.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/TextServices.h"

namespace discovel {

struct DuplicateCriteria {
  bool sameName = true;   // letter case ignored, as the search ignores it
  bool sameSize = true;
  bool sameDate = false;  // the modified time as catalogued
  bool AnyChecked() const { return sameName || sameSize || sameDate; }
};

// Folds names to upper case the way the search does: by the byte table in a
// single-byte code page, else through the text services.
class NameFolder {
 public:
  explicit NameFolder(const TextServices& text);
  void Fold(std::string_view name, std::string& out) const;
  // Whether each byte folds on its own, by UpperByte.
  bool BytewiseFold() const { return m_singleByte; }
  unsigned char UpperByte(unsigned char c) const { return m_upper[c]; }

 private:
  const TextServices& m_text;
  bool m_singleByte;
  UpperTable m_upper{};
};

// The entry's key for the checked criteria, into `out` (replacing it). Each
// field ends with a separator no name holds, so fields never run together.
void BuildDuplicateKey(const DuplicateCriteria& criteria, const NameFolder& folder,
                       std::string_view name, std::string_view size, std::string_view time,
                       std::string& out);

// A 64-bit hash of the key text, eight bytes a step. Different keys may share
// a hash; groups are confirmed on the keys themselves.
std::uint64_t DuplicateKeyHash(std::string_view key);

// DuplicateKeyHash of the key BuildDuplicateKey gives, built on the stack
// where the names fold byte by byte; in `scratch` otherwise.
std::uint64_t HashDuplicateKey(const DuplicateCriteria& criteria, const NameFolder& folder,
                               std::string_view name, std::string_view size,
                               std::string_view time, std::string& scratch);

using DuplicateHashFunction = std::uint64_t (*)(std::string_view key);

}  // namespace discovel
