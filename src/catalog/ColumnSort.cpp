#include "catalog/ColumnSort.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <optional>
#include <string>
#include <unordered_map>

#include "catalog/DosTime.h"
#include "catalog/NumberFormat.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

// A moment as one number whose order is the order of time.
std::int64_t MomentKey(const LocalTime& t) {
  return ((((std::int64_t{t.year} * 13 + t.month) * 32 + t.day) * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
}

// Primary weights usually come in two-byte units (script and letter), a few
// hundred different ones. Each unit replaced by its rank, one byte, orders the
// same and halves the keys, so a sort item's prefix holds twice the letters.
PrimaryWeightTable CompactWeights(const PrimaryWeightTable& weights) {
  std::vector<std::string> units;
  for (const std::string& entry : weights) {
    if (entry.size() % 2 != 0) return weights;
    for (std::size_t i = 0; i < entry.size(); i += 2) units.push_back(entry.substr(i, 2));
  }
  std::sort(units.begin(), units.end());
  units.erase(std::unique(units.begin(), units.end()), units.end());
  if (units.size() > 255) return weights;
  PrimaryWeightTable compact;
  for (std::size_t c = 0; c < weights.size(); ++c) {
    for (std::size_t i = 0; i < weights[c].size(); i += 2) {
      const auto rank = std::lower_bound(units.begin(), units.end(), weights[c].substr(i, 2)) - units.begin();
      compact[c] += static_cast<char>(rank + 1);
    }
  }
  return compact;
}

constexpr std::size_t kPrefixBytes = 16;

// A row to sort by primary weights: its key's first bytes, and where the
// whole key stands.
struct WeightItem {
  std::uint64_t prefix[kPrefixBytes / 8];
  std::uint32_t row;  // and so its key
};

// Rows whose primary weights tie: the same text (the usual case) shares one
// rank; different texts are told apart by their whole keys (case, accents,
// skipped signs), asked for once per text. Returns the next free rank.
std::int64_t RankTies(const std::vector<WeightItem>& items, std::size_t begin, std::size_t end,
                      const ColumnCells& cells, const TextServices& text,
                      std::vector<std::int64_t>& rankOfRow, std::int64_t rank) {
  std::vector<std::pair<std::string_view, std::uint32_t>> tied;
  for (std::size_t i = begin; i < end; ++i) tied.emplace_back(cells.Cell(items[i].row), items[i].row);
  std::sort(tied.begin(), tied.end());
  std::vector<std::pair<std::string, std::size_t>> keyed;  // whole key, first row of its text in `tied`
  for (std::size_t i = 0; i < tied.size(); ++i) {
    if (i > 0 && tied[i].first == tied[i - 1].first) continue;
    const bool onlyText = tied.front().first == tied.back().first;
    keyed.emplace_back(onlyText ? std::string() : text.CollationKey(tied[i].first), i);
  }
  std::sort(keyed.begin(), keyed.end());
  for (std::size_t k = 0; k < keyed.size(); ++k) {
    if (k > 0 && keyed[k].first != keyed[k - 1].first) ++rank;
    const std::string_view same = tied[keyed[k].second].first;
    for (std::size_t i = keyed[k].second; i < tied.size() && tied[i].first == same; ++i) {
      rankOfRow[tied[i].second] = rank;
    }
  }
  return rank + 1;
}

// The primary weights of a text that is not all ASCII: the table holds
// weights of one-byte characters only, so they come from its whole key.
std::string PrimaryWeightsOfWhole(std::string_view cell, const TextServices& text) {
  std::string key = text.CollationKey(cell);
  key.resize(std::min(key.size(), key.find('\x01')));
  return key;
}

// Ranks by primary weights, asking for whole keys only where those tie. The
// keys stand in one buffer, and a sort item carries its key's first sixteen
// bytes, so most comparisons touch no key at all.
std::vector<std::int64_t> RanksByWeights(const ColumnCells& cells, const TextServices& text,
                                         const PrimaryWeightTable& platformWeights) {
  bool allAscii = true;
  for (std::size_t row = 0; row < cells.RowCount() && allAscii; ++row) allAscii = utf8::IsAscii(cells.Cell(row));
  // Compact ranks exist only for the table's own weights.
  const PrimaryWeightTable weights = allAscii ? CompactWeights(platformWeights) : platformWeights;
  std::size_t longestWeight = 1;
  std::array<std::string_view, 256> weightOf;
  for (std::size_t c = 0; c < weights.size(); ++c) {
    weightOf[c] = weights[c];
    longestWeight = std::max(longestWeight, weights[c].size());
  }
  // Rows in the order they are stored (the cells lie one after another).
  const std::size_t rows = cells.RowCount();
  std::vector<char> keys(rows * 16);
  std::vector<std::uint32_t> begins(rows + 1);
  using Item = WeightItem;
  std::vector<Item> items(rows);
  std::size_t at = 0;
  for (std::size_t row = 0; row < rows; ++row) {
    const std::string_view cell = cells.Cell(row);
    begins[row] = static_cast<std::uint32_t>(at);
    if (utf8::IsAscii(cell)) {
      if (keys.size() - at < cell.size() * longestWeight) keys.resize(std::max(keys.size() * 2, at + cell.size() * longestWeight));
      for (const char c : cell) {
        const std::string_view weight = weightOf[static_cast<unsigned char>(c)];
        std::memcpy(keys.data() + at, weight.data(), weight.size());
        at += weight.size();
      }
    } else {
      const std::string weight = PrimaryWeightsOfWhole(cell, text);
      if (keys.size() - at < weight.size()) keys.resize(std::max(keys.size() * 2, at + weight.size()));
      std::memcpy(keys.data() + at, weight.data(), weight.size());
      at += weight.size();
    }
    Item& item = items[row];
    item.row = static_cast<std::uint32_t>(row);
    for (std::size_t i = 0; i < kPrefixBytes; ++i) {
      const std::size_t byteAt = begins[row] + i;
      const unsigned byte = byteAt < at ? static_cast<unsigned char>(keys[byteAt]) : 0u;
      item.prefix[i / 8] = (item.prefix[i / 8] << 8) | byte;
    }
  }
  begins[rows] = static_cast<std::uint32_t>(at);
  const auto key = [&](const Item& item) {
    return std::string_view(keys.data() + begins[item.row], begins[item.row + 1] - begins[item.row]);
  };
  // Keys hold no zero bytes, so a zero in the prefix marks a key's end: equal
  // prefixes that end so are equal keys, and the keys need not be read.
  const auto samePrefix = [](const Item& a, const Item& b) {
    return std::equal(std::begin(a.prefix), std::end(a.prefix), std::begin(b.prefix));
  };
  const auto wholeKeyInPrefix = [](const Item& item) { return (item.prefix[kPrefixBytes / 8 - 1] & 0xFF) == 0; };
  const auto sameKey = [&](const Item& a, const Item& b) {
    return samePrefix(a, b) && (wholeKeyInPrefix(a) || key(a) == key(b));
  };
  const auto less = [&](const Item& a, const Item& b) {
    if (!samePrefix(a, b)) {
      return std::lexicographical_compare(std::begin(a.prefix), std::end(a.prefix), std::begin(b.prefix),
                                          std::end(b.prefix));
    }
    return !wholeKeyInPrefix(a) && key(a) < key(b);
  };
  // Counted into buckets by their first two bytes first: each bucket then
  // sorts within the cache.
  const auto bucketOf = [](const Item& item) { return static_cast<std::size_t>(item.prefix[0] >> 48); };
  std::vector<std::uint32_t> next((std::size_t{1} << 16) + 1, 0);
  for (const Item& item : items) ++next[bucketOf(item) + 1];
  for (std::size_t b = 1; b < next.size(); ++b) next[b] += next[b - 1];
  std::vector<std::uint32_t> bucketBegins(next.begin(), next.end());
  std::vector<Item> bucketed(items.size());
  for (const Item& item : items) bucketed[next[bucketOf(item)]++] = item;
  items = std::move(bucketed);
  for (std::size_t b = 0; b + 1 < bucketBegins.size(); ++b) {
    if (bucketBegins[b + 1] - bucketBegins[b] > 1) {
      std::sort(items.begin() + bucketBegins[b], items.begin() + bucketBegins[b + 1], less);
    }
  }
  std::vector<std::int64_t> rankOfRow(cells.RowCount());
  std::int64_t rank = 0;
  for (std::size_t run = 0; run < items.size();) {
    std::size_t runEnd = run + 1;
    while (runEnd < items.size() && sameKey(items[runEnd], items[run])) ++runEnd;
    // Mostly one row, or the same text again (a file on several discs).
    const std::string_view first = cells.Cell(items[run].row);
    bool sameText = true;
    for (std::size_t i = run + 1; i < runEnd && sameText; ++i) sameText = cells.Cell(items[i].row) == first;
    if (sameText) {
      for (std::size_t i = run; i < runEnd; ++i) rankOfRow[items[i].row] = rank;
      ++rank;
    } else {
      rank = RankTies(items, run, runEnd, cells, text, rankOfRow, rank);
    }
    run = runEnd;
  }
  return rankOfRow;
}

// Each distinct text gets its rank among the distinct texts by whole
// collation keys: cells repeat (marks, folders, types), and a rank compares
// as one number.
std::vector<std::int64_t> RanksByWholeKeys(const ColumnCells& cells, const TextServices& text) {
  std::unordered_map<std::string_view, std::uint32_t> distinct;
  std::vector<std::uint32_t> textOfRow(cells.RowCount());
  std::vector<std::string> keys;
  for (std::size_t row = 0; row < cells.RowCount(); ++row) {
    const std::string_view cell = cells.Cell(row);
    const auto [at, added] = distinct.try_emplace(cell, static_cast<std::uint32_t>(keys.size()));
    if (added) keys.push_back(text.CollationKey(cell));
    textOfRow[row] = at->second;
  }
  std::vector<std::uint32_t> byKey(keys.size());
  std::iota(byKey.begin(), byKey.end(), 0u);
  std::sort(byKey.begin(), byKey.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
  // Texts with equal keys (differing in case only) share a rank.
  std::vector<std::int64_t> rankOfText(keys.size());
  std::int64_t rank = 0;
  for (std::size_t i = 0; i < byKey.size(); ++i) {
    if (i > 0 && keys[byKey[i]] != keys[byKey[i - 1]]) ++rank;
    rankOfText[byKey[i]] = rank;
  }
  std::vector<std::int64_t> rankOfRow(cells.RowCount());
  for (std::size_t row = 0; row < cells.RowCount(); ++row) rankOfRow[row] = rankOfText[textOfRow[row]];
  return rankOfRow;
}

std::vector<std::int64_t> TextRanks(const ColumnCells& cells, const TextServices& text) {
  if (const PrimaryWeightTable* weights = text.PrimaryWeights()) {
    return RanksByWeights(cells, text, *weights);
  }
  return RanksByWholeKeys(cells, text);
}

}  // namespace

void SortRows(std::vector<std::uint32_t>& order, const ColumnCells& cells, SortKind kind, bool flag, const TextServices& text) {
  // Every row's key, in the order the rows are stored.
  const std::size_t rows = cells.RowCount();
  std::vector<std::int64_t> keyOfRow;
  std::vector<std::uint8_t> unreadable(rows, 0);
  bool ascending = flag;
  switch (kind) {
    case SortKind::Text:
      keyOfRow = TextRanks(cells, text);
      break;
    case SortKind::Number: {
      // Largest first when the flag is set: the other way round from the rest.
      ascending = !flag;
      keyOfRow.resize(rows);
      const std::string thousands = text.ThousandsSeparator();
      for (std::size_t row = 0; row < rows; ++row) {
        const auto size = ParseFormattedCount(cells.Cell(row), thousands);
        unreadable[row] = !size;
        keyOfRow[row] = size.value_or(0);
      }
      break;
    }
    case SortKind::Date: {
      keyOfRow.resize(rows);
      const char dateSep = text.DateSeparator();
      const char timeSep = text.TimeSeparator();
      for (std::size_t row = 0; row < rows; ++row) {
        const auto moment = ParseDisplayDateTime(cells.Cell(row), dateSep, timeSep);
        unreadable[row] = !moment;
        keyOfRow[row] = moment ? MomentKey(*moment) : 0;
      }
      break;
    }
  }
  if (kind == SortKind::Text) {
    // Ranks run from 0 to fewer than the rows: counted into place, ties in
    // the order they had.
    const std::int64_t highest = rows == 0 ? 0 : *std::max_element(keyOfRow.begin(), keyOfRow.end());
    std::vector<std::uint32_t> slots(order.size());  // by position: one pass over the rows' keys
    for (std::size_t i = 0; i < order.size(); ++i) {
      const std::int64_t rank = keyOfRow[order[i]];
      slots[i] = static_cast<std::uint32_t>(ascending ? rank : highest - rank);
    }
    std::vector<std::uint32_t> next(rows + 1, 0);
    for (const std::uint32_t slot : slots) ++next[slot + 1];
    for (std::size_t i = 1; i <= rows; ++i) next[i] += next[i - 1];
    std::vector<std::uint32_t> sorted(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) sorted[next[slots[i]]++] = order[i];
    order = std::move(sorted);
    return;
  }
  // Readable rows by key, then the unreadable; ties keep their place.
  struct Place {
    std::uint8_t unreadable;
    std::int64_t key;
    std::uint32_t position;
    std::uint32_t row;
  };
  std::vector<Place> places(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::uint32_t row = order[i];
    const std::int64_t key = keyOfRow[row];
    places[i] = Place{unreadable[row], ascending || unreadable[row] ? key : ~key, static_cast<std::uint32_t>(i), row};
  }
  std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
    if (a.unreadable != b.unreadable) return a.unreadable < b.unreadable;
    if (a.key != b.key) return a.key < b.key;
    return a.position < b.position;
  });
  for (std::size_t i = 0; i < places.size(); ++i) order[i] = places[i].row;
}

}  // namespace discovel
