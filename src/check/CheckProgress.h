#pragma once
// How far a disc check has come, as its progress window shows it.
#include <cstdint>
#include <optional>

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

}  // namespace discovel
