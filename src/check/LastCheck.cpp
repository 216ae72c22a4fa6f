#include "check/LastCheck.h"

#include "catalog/ArchiveKeys.h"
#include "catalog/DosTime.h"
#include "catalog/TextUtil.h"

namespace discovel {

LastCheck ReadLastCheck(const ArchiveText& keys, char dateSeparator, char timeSeparator) {
  const auto value = [&](std::string_view key) {
    return TrimBlanksAndControls(keys.FindKey(key).value_or(std::string_view()));
  };
  const auto packed = ParseInt64(value(kALastCheck));
  const auto moment = packed ? UnpackDosDateTime(static_cast<std::int32_t>(static_cast<std::uint32_t>(*packed)))
                             : std::nullopt;
  if (!moment) return LastCheck{"Never", 0};
  LastCheck check;
  check.text = FormatDisplayDateTime(*moment, dateSeparator, timeSeparator);
  const std::string_view result = value(kACheckResult);
  if (!result.empty()) {
    check.text += ' ';
    check.text += result;
  }
  check.sortKey = static_cast<std::uint32_t>(*packed);
  return check;
}

}  // namespace discovel
