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

std::uint64_t DuplicateKeyHash(std::string_view key) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace discovel
