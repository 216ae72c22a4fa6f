#pragma once
// File times (UTC) as the program shows and stores them: local times.
#include <windows.h>

#include "platform/LocalTime.h"

namespace discovel {

// The offset of today, whatever the file's date: how FileTimeToLocalFileTime
// converts, and how archives were listed before file times took their own
// date's offset.
LocalTime WithTodaysOffset(const FILETIME& utc);

// Local times with the offset in force at each moment, as Explorer shows them:
// a file of July stays at its summer time in winter. The zone's rules for a
// year (GetTimeZoneInformationForYear knows the years a country changed its
// rules) come from a cache the whole process shares, since asking the system
// costs as much as listing a folder; every conversion is then arithmetic.
// One converter serves one listing: it takes the zone in force when made.
class LocalTimeConverter {
 public:
  LocalTimeConverter();
  LocalTime Convert(const FILETIME& utc);

 private:
  const TIME_ZONE_INFORMATION* ZoneOfYear(WORD year);

  DYNAMIC_TIME_ZONE_INFORMATION m_zoneNow{};
  bool m_zoneKnown = false;
  WORD m_year = 0;
  bool m_yearKnown = false;
  TIME_ZONE_INFORMATION m_rules{};
};

}  // namespace discovel
