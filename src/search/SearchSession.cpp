#include "search/SearchSession.h"

#include "catalog/NumberFormat.h"
#include "platform/ProgramName.h"

namespace discovel {
namespace {

constexpr std::size_t kTroublesListed = 10;

std::string Count(std::size_t n, std::string_view thousands) {
  return FormatCount(static_cast<std::int64_t>(n), thousands);
}

}  // namespace

std::string SearchSession::Caption() const {
  if (m_restriction.empty()) return std::string(kProgramName) + " (search all archives)";
  return std::string(kProgramName) + " (search only " + m_restriction + " archive)";
}

SearchRequest SearchSession::Request(std::function<std::string()> text, AdvancedCriteria panel) const {
  panel.dates = m_dateBounds;
  panel.sizeThreshold = m_sizeThreshold;
  return {std::move(text), panel, m_restriction};
}

std::string ArchiveTroubles::Text() const {
  if (m_messages.empty()) return {};
  std::string text = "These archives could not be searched; the files found in the others are listed.\r\n";
  for (std::size_t i = 0; i < m_messages.size() && i < kTroublesListed; ++i) text += "\r\n" + m_messages[i];
  if (m_messages.size() > kTroublesListed) {
    text += "\r\n... and " + std::to_string(m_messages.size() - kTroublesListed) + " more.";
  }
  return text;
}

std::string FoundFilesStatus(std::size_t rows, std::string_view thousands) {
  return rows == 0 ? "There are no results to display." : "Files: " + Count(rows, thousands);
}

std::string TooManyResultsText(std::size_t rows, std::string_view thousands) {
  return "Too many results: the search stopped after " + Count(rows, thousands) +
         " files, which are listed. Narrow the search to see the others.";
}

}  // namespace discovel
