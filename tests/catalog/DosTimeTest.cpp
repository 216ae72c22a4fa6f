#include "catalog/DosTime.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

LocalTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  LocalTime t;
  t.year = y;
  t.month = mo;
  t.day = d;
  t.hour = h;
  t.minute = mi;
  t.second = s;
  return t;
}

TEST(PackDosDateTime, MatchesTheStoredArchiveValues) {
  EXPECT_EQ(PackDosDateTime(At(2006, 3, 15, 14, 30, 20)), 879719370);
  EXPECT_EQ(PackDosDateTime(At(2006, 3, 14, 9, 5, 2)), 879642785);
  EXPECT_EQ(PackDosDateTime(At(2007, 1, 2, 10, 0, 0)), 908218368);
}

TEST(PackDosDateTime, FieldLayoutAndRange) {
  EXPECT_EQ(PackDosDateTime(At(1980, 1, 1)), 0x00210000);
  EXPECT_EQ(PackDosDateTime(At(1980, 1, 1, 23, 59, 58)), 0x0021BF7D);
  // Odd seconds lose their last bit; milliseconds are not stored.
  LocalTime odd = At(2006, 3, 15, 14, 30, 21);
  odd.millisecond = 999;
  EXPECT_EQ(PackDosDateTime(odd), 879719370);
  // From 2044 the top bit is set and the number is negative.
  EXPECT_LT(PackDosDateTime(At(2044, 1, 1)), 0);
  EXPECT_EQ(PackDosDateTime(At(2107, 12, 31, 23, 59, 58)), static_cast<std::int32_t>(0xFF9FBF7D));
  EXPECT_EQ(PackDosDateTime(At(1979, 12, 31, 23, 59, 58)), 0);
  EXPECT_EQ(PackDosDateTime(At(2108, 1, 1)), 0);
}

TEST(UnpackDosDateTime, RoundTripsValidTimes) {
  for (const LocalTime& t : {At(2006, 3, 15, 14, 30, 20), At(1980, 1, 1), At(2000, 2, 29, 12, 0, 2),
                             At(2107, 12, 31, 23, 59, 58), At(2044, 6, 30, 1, 2, 4)}) {
    EXPECT_EQ(UnpackDosDateTime(PackDosDateTime(t)), t);
  }
}

TEST(UnpackDosDateTime, RefusesImpossibleFields) {
  const auto pack = [](int years, int month, int day, int hour, int minute, int halfSeconds) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(years) << 25) | (month << 21) |
                                     (day << 16) | (hour << 11) | (minute << 5) | halfSeconds);
  };
  EXPECT_EQ(UnpackDosDateTime(0), std::nullopt);  // month 0, day 0
  EXPECT_EQ(UnpackDosDateTime(pack(26, 13, 1, 0, 0, 0)), std::nullopt);
  EXPECT_EQ(UnpackDosDateTime(pack(26, 4, 31, 0, 0, 0)), std::nullopt);
  EXPECT_EQ(UnpackDosDateTime(pack(27, 2, 29, 0, 0, 0)), std::nullopt);  // 2007
  EXPECT_NE(UnpackDosDateTime(pack(28, 2, 29, 0, 0, 0)), std::nullopt);  // 2008
  EXPECT_EQ(UnpackDosDateTime(pack(120, 2, 29, 0, 0, 0)), std::nullopt);  // 2100
  EXPECT_EQ(UnpackDosDateTime(pack(26, 3, 15, 24, 0, 0)), std::nullopt);
  EXPECT_EQ(UnpackDosDateTime(pack(26, 3, 15, 0, 60, 0)), std::nullopt);
  EXPECT_EQ(UnpackDosDateTime(pack(26, 3, 15, 0, 0, 30)), std::nullopt);
  EXPECT_EQ(UnpackDosDateTime(pack(26, 3, 15, 23, 59, 29))->second, 58);
}

TEST(DisplayDateTime, FormatsWithSeparatorsAndDropsMidnight) {
  EXPECT_EQ(FormatDisplayDateTime(At(2006, 3, 5, 4, 3, 2), '/', ':'), "05/03/2006 04:03:02");
  EXPECT_EQ(FormatDisplayDateTime(At(2006, 3, 5, 4, 3, 2), '.', '-'), "05.03.2006 04-03-02");
  EXPECT_EQ(FormatDisplayDateTime(At(2007, 1, 2), '/', ':'), "02/01/2007");
  EXPECT_EQ(FormatDisplayDateTime(At(2007, 1, 2, 0, 0, 1), '/', ':'), "02/01/2007 00:00:01");
}

TEST(DisplayDateTime, ParsesItsOwnTextBack) {
  for (const LocalTime& t :
       {At(2006, 3, 5, 4, 3, 2), At(2007, 1, 2), At(2008, 2, 29, 23, 59, 59)}) {
    EXPECT_EQ(ParseDisplayDateTime(FormatDisplayDateTime(t, '.', ':'), '.', ':'), t);
  }
  EXPECT_EQ(ParseDisplayDateTime("5/3/2006 4:03", '/', ':'), At(2006, 3, 5, 4, 3, 0));
}

TEST(DisplayDateTime, RefusesMalformedOrImpossibleText) {
  for (const char* bad : {"", "15/03/06", "15-03-2006", "32/01/2006", "29/02/2007", "15/13/2006",
                          "15/03/2006 24:00:00", "15/03/2006 10:60", "15/03/2006 10:00:00x",
                          "15/03/2006  10:00", "15/03/2006 ", "015/03/2006"}) {
    EXPECT_EQ(ParseDisplayDateTime(bad, '/', ':'), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace discovel
