#pragma once
// How far a disc check has come, as its progress window shows it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace discovel {

struct CheckProgress {
  std::int64_t filesDone = 0;
  std::int64_t filesTotal = 0;
  std::uint64_t bytesDone = 0;
  std::uint64_t bytesTotal = 0;
  double secondsElapsed = 0;  // since the reading began

  // Bytes a second so far; 0 before any time has passed.
  double BytesPerSecond() const;
  // Whole seconds left at the speed so far; nullopt while there is no speed yet.
  std::optional<std::int64_t> SecondsLeft() const;
  // 0..100, by bytes (by files while the files hold no bytes).
  int Percent() const;
};

// "Files: 12 of 2,000; Bytes: 5,000,000 of 9,000,000; Speed: 2 MB/s; Time left: 0:02",
// the speed and time left once there is a speed; a time of an hour or more as h:mm:ss.
std::string CheckProgressText(const CheckProgress& progress, std::string_view thousandsSeparator);

}  // namespace discovel
