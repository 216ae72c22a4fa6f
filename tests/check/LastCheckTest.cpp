#include "check/LastCheck.h"

#include <gtest/gtest.h>

#include <string>

#include "catalog/ArchiveKeys.h"
#include "catalog/DosTime.h"

namespace discovel {
namespace {

ArchiveText Keys(std::string lines) { return ArchiveText("\\\r\na.txt\r\n1\r\n0\r\nAMark=CD\r\n" + std::move(lines)); }

std::string Packed(const LocalTime& time) { return std::to_string(PackDosDateTime(time)); }

TEST(LastCheckTest, ShowsTheMomentAndResultOrNever) {
  EXPECT_EQ(ReadLastCheck(Keys(""), '/', ':').text, "Never");
  EXPECT_EQ(ReadLastCheck(Keys("ALastCheck=x\r\nACheckResult=OK\r\n"), '/', ':').text, "Never");
  EXPECT_EQ(ReadLastCheck(Keys("ALastCheck=0\r\nACheckResult=OK\r\n"), '/', ':').text, "Never");  // no date
  // Past 32 bits: no packed moment at all, though its low bits would make one.
  const std::int64_t wrapped = (std::int64_t{1} << 32) + std::stoll(Packed({2026, 12, 9, 14, 30, 20}));
  EXPECT_EQ(ReadLastCheck(Keys("ALastCheck=" + std::to_string(wrapped) + "\r\n"), '/', ':').text, "Never");
  const LastCheck checked =
      ReadLastCheck(Keys("ALastCheck=" + Packed({2026, 12, 9, 14, 30, 20}) +
                         "\r\nACheckResult=Unreadable: 1; Missing: 0; Changed: 0; Not in archive: 0\r\n"),
                    '.', ':');
  EXPECT_EQ(checked.text, "09.12.2026 14:30:20 Unreadable: 1; Missing: 0; Changed: 0; Not in archive: 0");
}

TEST(LastCheckTest, SortsByTheMomentAlsoPastTheYearsThatSetTheSignBit) {
  const auto key = [](const LocalTime& time) {
    return ReadLastCheck(Keys("ALastCheck=" + Packed(time) + "\r\nACheckResult=OK\r\n"), '/', ':').sortKey;
  };
  const std::uint32_t never = ReadLastCheck(Keys(""), '/', ':').sortKey;
  EXPECT_LT(never, key({1999, 1, 1, 0, 0, 0}));
  EXPECT_LT(key({2026, 12, 9, 14, 30, 20}), key({2026, 12, 9, 14, 30, 22}));
  EXPECT_LT(key({2043, 12, 31, 23, 59, 58}), key({2050, 1, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace discovel
