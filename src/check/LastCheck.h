#pragma once
// The catalogue's "Last Check" of an archive, from the keys a check leaves.
#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/ArchiveFile.h"

namespace discovel {

struct LastCheck {
  // The moment as the catalogue shows dates, a blank and the result; "Never"
  // when the archive holds no check (or a moment that is no date).
  std::string text;
  // Orders by the moment, the unchecked first. The packed moment taken
  // unsigned: the date stands in the high bits, and years from 2044 on set
  // the top one.
  std::uint32_t sortKey = 0;
};

LastCheck ReadLastCheck(const ArchiveText& keys, char dateSeparator, char timeSeparator);
// The same from the two keys' values as stored ("" when absent).
LastCheck LastCheckOf(std::string_view lastCheck, std::string_view checkResult, char dateSeparator,
                      char timeSeparator);

}  // namespace discovel
