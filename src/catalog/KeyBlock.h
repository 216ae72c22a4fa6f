#pragma once
// The key block of an archive is the trailing run of lines that contain '='.
// Entry lines end with a size line and a time line, which never do, so a file
// named like a key stays outside the block and never shadows or receives a key.
#include <cstddef>
#include <optional>
#include <string_view>

#include "catalog/TextUtil.h"

namespace discovel::keyblock {

struct Range {
  std::size_t begin = 0;  // first key line
  std::size_t end = 0;    // one past the last key line; empty lines may follow
};

// `lineAt(i)` gives line i as a string_view. Trailing empty lines, as a
// hand-edited file may have, are passed over first.
template <class LineAt>
Range Find(std::size_t lineCount, const LineAt& lineAt) {
  Range range;
  range.end = lineCount;
  while (range.end > 0 && std::string_view(lineAt(range.end - 1)).empty()) --range.end;
  range.begin = range.end;
  while (range.begin > 0 &&
         std::string_view(lineAt(range.begin - 1)).find('=') != std::string_view::npos) {
    --range.begin;
  }
  return range;
}

// The value of `line` when its text before the first '=' is `key`, letter case aside.
inline std::optional<std::string_view> ValueIfKey(std::string_view line, std::string_view key) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos || !EqualsIgnoreAsciiCase(line.substr(0, eq), key)) {
    return std::nullopt;
  }
  return line.substr(eq + 1);
}

}  // namespace discovel::keyblock
