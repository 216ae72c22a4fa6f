#include "ui/core/ListColumns.h"

#include <algorithm>
#include <cstdint>

#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

struct Limits {
  int least;
  int most;  // 0: none
};

int Clamp(int width, const Limits& limits) {
  int clamped = std::max(width, limits.least);
  if (limits.most > 0) clamped = std::min(clamped, limits.most);
  return clamped;
}

Limits PixelLimits(const ColumnWidthRule& rule, unsigned dpi) {
  return {ScaleToDpi(rule.least, dpi), rule.most > 0 ? ScaleToDpi(rule.most, dpi) : 0};
}

// The columns that keep a width give `need` pixels between them, evenly,
// the earlier ones the odd pixels, none below its least. Returns what they gave.
int GiveWay(std::vector<int>& widths, const std::vector<std::size_t>& keeping, const std::vector<Limits>& limits,
            int need) {
  int gave = 0;
  while (need > gave) {
    std::vector<std::size_t> able;
    for (std::size_t column : keeping) {
      if (widths[column] > limits[column].least) able.push_back(column);
    }
    if (able.empty()) break;
    const int count = static_cast<int>(able.size());
    const int each = (need - gave) / count;
    int odd = (need - gave) % count;
    for (std::size_t column : able) {
      const int want = each + (odd > 0 ? 1 : 0);
      if (odd > 0) --odd;
      const int given = std::min(want, widths[column] - limits[column].least);
      widths[column] -= given;
      gave += given;
    }
  }
  return gave;
}

// `room` split between the sharing columns by their shares; a column held at
// a limit leaves its part to the others.
void Share(std::vector<int>& widths, const std::vector<FittedColumn>& columns, std::vector<std::size_t> sharing,
           const std::vector<Limits>& limits, int room) {
  while (!sharing.empty()) {
    std::int64_t shares = 0;
    for (std::size_t column : sharing) shares += columns[column].rule.share;
    bool held = false;
    int left = room;
    for (const std::size_t column : sharing) {
      widths[column] = static_cast<int>(std::max<std::int64_t>(0, room) * columns[column].rule.share / shares);
      left -= widths[column];
    }
    // What rounding leaves goes a pixel each to the first ones.
    for (std::size_t i = 0; left > 0; i = (i + 1) % sharing.size(), --left) ++widths[sharing[i]];
    // A part outside the limits is held at the limit, and the rest is shared again.
    for (auto it = sharing.begin(); it != sharing.end();) {
      const int clamped = Clamp(widths[*it], limits[*it]);
      if (clamped != widths[*it]) {
        widths[*it] = clamped;
        room -= clamped;
        it = sharing.erase(it);
        held = true;
      } else {
        ++it;
      }
    }
    if (!held) return;
  }
}

}  // namespace

std::vector<int> FitColumnWidths(const std::vector<FittedColumn>& columns, int clientWidth, unsigned dpi) {
  std::vector<int> widths(columns.size(), 0);
  std::vector<Limits> limits(columns.size());
  std::vector<std::size_t> keeping;
  std::vector<std::size_t> sharing;
  int taken = 0;
  int sharedLeast = 0;
  for (std::size_t column = 0; column < columns.size(); ++column) {
    const FittedColumn& fitted = columns[column];
    limits[column] = PixelLimits(fitted.rule, dpi);
    if (fitted.hidden || fitted.rule.width == 0) continue;
    if (fitted.rule.keepsDragged) {
      widths[column] = Clamp(fitted.current, limits[column]);
    } else if (fitted.rule.share > 0) {
      sharing.push_back(column);
      sharedLeast += limits[column].least;
      continue;
    } else {
      widths[column] = Clamp(ScaleToDpi(fitted.rule.width, dpi), limits[column]);
      keeping.push_back(column);
    }
    taken += widths[column];
  }
  int room = clientWidth - taken;
  // Where the sharing columns would fall below their least, the kept ones give way first.
  if (!sharing.empty() && room < sharedLeast) room += GiveWay(widths, keeping, limits, sharedLeast - room);
  Share(widths, columns, sharing, limits, room);
  return widths;
}

}  // namespace discovel
