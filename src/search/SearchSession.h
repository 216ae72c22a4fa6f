#pragma once
// What the search window keeps apart from its controls: the restriction its
// opener gave, the date and size filters' values and the sort, which outlive
// the window for the rest of the run; the archives a search could not read;
// and the texts it shows about a search.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ColumnSort.h"
#include "search/SearchCriteria.h"
#include "search/SearchEngine.h"

namespace discovel {

// The archives a search could not read, in the order met.
class ArchiveTroubles {
 public:
  void Clear() { m_messages.clear(); }
  void Add(const std::string& message) { m_messages.push_back(message); }
  // What the user is told of them; "" when every archive was read.
  std::string Text() const;

 private:
  std::vector<std::string> m_messages;
};

class SearchSession {
 public:
  // The opener's mark restricts every search of the window; "" for all archives.
  void Restrict(std::string mark) { m_restriction = std::move(mark); }
  const std::string& Restriction() const { return m_restriction; }
  // The "Marks" box only means something when every archive is searched.
  bool MarksBoxAllowed() const { return m_restriction.empty(); }
  // "Discovel (search all archives)" or "Discovel (search only <mark> archive)".
  std::string Caption() const;

  // The filters' values as their controls last gave them.
  void SetDateBounds(DateBounds bounds) { m_dateBounds = bounds; }
  void SetSizeThreshold(std::int64_t threshold) { m_sizeThreshold = threshold; }
  // One search's request: the panel's boxes with the filters' values and the restriction.
  SearchRequest Request(std::function<std::string()> text, AdvancedCriteria panel) const;

  ColumnSortState& Sort() { return m_sort; }

  // The archives the last search could not read.
  ArchiveTroubles& Troubles() { return m_troubles; }

 private:
  std::string m_restriction;
  DateBounds m_dateBounds;
  std::int64_t m_sizeThreshold = 0;
  ColumnSortState m_sort;
  ArchiveTroubles m_troubles;
};

// Status panel 0 after a search: "Files: 1,234" or "There are no results to display."
std::string FoundFilesStatus(std::size_t rows, std::string_view thousands);
// Said when a search stopped because its rows filled the memory set aside.
std::string TooManyResultsText(std::size_t rows, std::string_view thousands);

}  // namespace discovel
