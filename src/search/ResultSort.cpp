#include "search/ResultSort.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>

#include "catalog/DosTime.h"
#include "catalog/NumberFormat.h"

namespace discovel {
namespace {

// A moment as one number whose order is the order of time.
std::int64_t MomentKey(const LocalTime& t) {
  return ((((std::int64_t{t.year} * 13 + t.month) * 32 + t.day) * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
}

// Each distinct text gets its rank among the distinct texts, by collation key:
// cells repeat (marks, folders, types), and a rank compares as one number.
std::vector<std::int64_t> TextRanks(const std::vector<std::uint32_t>& order, const SearchResults& results,
                                    ResultColumn column, const TextServices& text) {
  std::unordered_map<std::string_view, std::uint32_t> distinct;
  std::vector<std::uint32_t> textOfRow(results.RowCount());
  std::vector<std::string> keys;
  for (const std::uint32_t row : order) {
    const std::string_view cell = results.Cell(row, column);
    const auto [at, added] = distinct.try_emplace(cell, static_cast<std::uint32_t>(keys.size()));
    if (added) keys.push_back(text.CollationKey(cell));
    textOfRow[row] = at->second;
  }
  std::vector<std::uint32_t> byKey(keys.size());
  for (std::uint32_t i = 0; i < byKey.size(); ++i) byKey[i] = i;
  std::stable_sort(byKey.begin(), byKey.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
  // Texts with equal keys (differing in case only) share a rank.
  std::vector<std::int64_t> rankOfText(keys.size());
  std::int64_t rank = 0;
  for (std::size_t i = 0; i < byKey.size(); ++i) {
    if (i > 0 && keys[byKey[i]] != keys[byKey[i - 1]]) ++rank;
    rankOfText[byKey[i]] = rank;
  }
  std::vector<std::int64_t> rankOfRow(results.RowCount());
  for (const std::uint32_t row : order) rankOfRow[row] = rankOfText[textOfRow[row]];
  return rankOfRow;
}

}  // namespace

SortKind SortKindOf(std::string_view caption) {
  if (caption == "Size") return SortKind::Size;
  if (caption == "Date Modified") return SortKind::Date;
  return SortKind::Text;
}

void SortResultRows(std::vector<std::uint32_t>& order, const SearchResults& results, ResultColumn column,
                    SortKind kind, bool flag, const TextServices& text) {
  std::vector<std::int64_t> keyOfRow;
  std::vector<bool> readable(results.RowCount(), true);
  bool ascending = flag;
  switch (kind) {
    case SortKind::Text:
      keyOfRow = TextRanks(order, results, column, text);
      break;
    case SortKind::Size: {
      // Largest first when the flag is set: the other way round from the rest.
      ascending = !flag;
      keyOfRow.resize(results.RowCount());
      const std::string thousands = text.ThousandsSeparator();
      for (const std::uint32_t row : order) {
        const auto size = ParseFormattedCount(results.Cell(row, column), thousands);
        readable[row] = size.has_value();
        keyOfRow[row] = size.value_or(0);
      }
      break;
    }
    case SortKind::Date: {
      keyOfRow.resize(results.RowCount());
      const char dateSep = text.DateSeparator();
      const char timeSep = text.TimeSeparator();
      for (const std::uint32_t row : order) {
        const auto moment = ParseDisplayDateTime(results.Cell(row, column), dateSep, timeSep);
        readable[row] = moment.has_value();
        keyOfRow[row] = moment ? MomentKey(*moment) : 0;
      }
      break;
    }
  }
  const auto firstUnreadable =
      std::stable_partition(order.begin(), order.end(), [&](std::uint32_t row) { return readable[row]; });
  std::stable_sort(order.begin(), firstUnreadable, [&](std::uint32_t a, std::uint32_t b) {
    return ascending ? keyOfRow[a] < keyOfRow[b] : keyOfRow[b] < keyOfRow[a];
  });
}

}  // namespace discovel
