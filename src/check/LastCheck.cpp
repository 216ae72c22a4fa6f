#include "check/LastCheck.h"

#include <cstdint>

#include "catalog/ArchiveKeys.h"
#include "catalog/DosTime.h"
#include "catalog/TextUtil.h"

namespace discovel {

LastCheck ReadLastCheck(const ArchiveText& keys, char dateSeparator, char timeSeparator) {
  const auto value = [&](std::string_view key) { return keys.FindKey(key).value_or(std::string_view()); };
  return LastCheckOf(value(kALastCheck), value(kACheckResult), dateSeparator, timeSeparator);
}

LastCheck LastCheckOf(std::string_view lastCheck, std::string_view checkResult, char dateSeparator,
                      char timeSeparator) {
  const auto packed = ParseInt64(TrimBlanksAndControls(lastCheck));
  // Stored signed or unsigned, a packed moment is 32 bits; more is no moment.
  const bool fits = packed && *packed >= INT32_MIN && *packed <= static_cast<std::int64_t>(UINT32_MAX);
  const auto moment =
      fits ? UnpackDosDateTime(static_cast<std::int32_t>(static_cast<std::uint32_t>(*packed))) : std::nullopt;
  if (!moment) return LastCheck{"Never", 0};
  LastCheck check;
  check.text = FormatDisplayDateTime(*moment, dateSeparator, timeSeparator);
  const std::string_view result = TrimBlanksAndControls(checkResult);
  if (!result.empty()) {
    check.text += ' ';
    check.text += result;
  }
  check.sortKey = static_cast<std::uint32_t>(*packed);
  return check;
}

}  // namespace discovel
