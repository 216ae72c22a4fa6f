#include "platform/win32/FileTimes.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace discovel {
namespace {

LocalTime FromSystemTime(const SYSTEMTIME& st) {
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

// The rules of each year asked so far, for the zone they were asked under; a
// change of zone (the user picks another, an update changes its rules)
// forgets them all.
class ZoneRulesCache {
 public:
  std::optional<TIME_ZONE_INFORMATION> ForYear(WORD year, const DYNAMIC_TIME_ZONE_INFORMATION& zone) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (std::memcmp(&zone, &m_zone, sizeof zone) != 0) {
      m_zone = zone;
      m_years.clear();
    }
    for (const auto& [known, rules] : m_years) {
      if (known == year) return rules;
    }
    std::optional<TIME_ZONE_INFORMATION> rules;
    TIME_ZONE_INFORMATION asked{};
    // The zone in force now; should it change between the two calls, the
    // next listing sees it.
    if (GetTimeZoneInformationForYear(year, nullptr, &asked)) rules = asked;
    m_years.emplace_back(year, rules);
    return rules;
  }

 private:
  std::mutex m_mutex;
  DYNAMIC_TIME_ZONE_INFORMATION m_zone{};
  std::vector<std::pair<WORD, std::optional<TIME_ZONE_INFORMATION>>> m_years;
};

ZoneRulesCache& SharedZoneRules() {
  static ZoneRulesCache cache;
  return cache;
}

}  // namespace

LocalTime WithTodaysOffset(const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME st{};
  FileTimeToLocalFileTime(&utc, &local);
  FileTimeToSystemTime(&local, &st);
  return FromSystemTime(st);
}

LocalTimeConverter::LocalTimeConverter() {
  // Zeroed first: the cache compares the whole structure, names' tails included.
  std::memset(&m_zoneNow, 0, sizeof m_zoneNow);
  m_zoneKnown = GetDynamicTimeZoneInformation(&m_zoneNow) != TIME_ZONE_ID_INVALID;
}

LocalTime LocalTimeConverter::Convert(const FILETIME& utc) {
  SYSTEMTIME utcTime{};
  SYSTEMTIME local{};
  if (!FileTimeToSystemTime(&utc, &utcTime)) return WithTodaysOffset(utc);
  const TIME_ZONE_INFORMATION* rules = ZoneOfYear(utcTime.wYear);
  if (!rules || !SystemTimeToTzSpecificLocalTime(rules, &utcTime, &local)) return WithTodaysOffset(utc);
  return FromSystemTime(local);
}

const TIME_ZONE_INFORMATION* LocalTimeConverter::ZoneOfYear(WORD year) {
  if (m_year != year) {
    m_year = year;
    const std::optional<TIME_ZONE_INFORMATION> rules =
        m_zoneKnown ? SharedZoneRules().ForYear(year, m_zoneNow) : std::nullopt;
    m_yearKnown = rules.has_value();
    if (rules) m_rules = *rules;
  }
  return m_yearKnown ? &m_rules : nullptr;
}

}  // namespace discovel
