#include "search/DuplicateKey.h"

#include "catalog/TextUtil.h"
#include "search/SearchCriteria.h"

namespace discovel {

NameFolder::NameFolder(const TextServices& text)
    : m_text(text), m_singleByte(text.IsSingleByteCodePage()) {
  if (m_singleByte) m_upper = text.BuildUpperTable();
}

void NameFolder::Fold(std::string_view name, std::string& out) const {
  if (!m_singleByte) {
    out += m_text.ToUpper(name);
    return;
  }
  for (const char c : name) out += static_cast<char>(m_upper[static_cast<unsigned char>(c)]);
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

constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

inline std::uint64_t HashByte(std::uint64_t hash, unsigned char c) {
  return (hash ^ c) * kFnvPrime;
}

inline std::uint64_t HashBytes(std::uint64_t hash, std::string_view bytes) {
  for (const char c : bytes) hash = HashByte(hash, static_cast<unsigned char>(c));
  return hash;
}

}  // namespace

std::uint64_t DuplicateKeyHash(std::string_view key) { return HashBytes(kFnvOffset, key); }

std::uint64_t HashDuplicateKey(const DuplicateCriteria& criteria, const NameFolder& folder,
                               std::string_view name, std::string_view size,
                               std::string_view time, std::string& scratch) {
  if (!folder.BytewiseFold()) {
    BuildDuplicateKey(criteria, folder, name, size, time, scratch);
    return DuplicateKeyHash(scratch);
  }
  const auto separator = static_cast<unsigned char>(kFieldSeparator);
  std::uint64_t hash = kFnvOffset;
  if (criteria.sameName) {
    for (const char c : name) hash = HashByte(hash, folder.UpperByte(static_cast<unsigned char>(c)));
  }
  hash = HashByte(hash, separator);
  if (criteria.sameSize) hash = HashBytes(hash, TrimBlanksAndControls(size));
  hash = HashByte(hash, separator);
  if (criteria.sameDate) hash = HashBytes(hash, TrimBlanksAndControls(time));
  return hash;
}

}  // namespace discovel
