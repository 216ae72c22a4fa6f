#include "check/CheckProgress.h"

#include <cmath>

namespace discovel {

double CheckProgress::BytesPerSecond() const {
  if (secondsElapsed <= 0) return 0;
  return static_cast<double>(bytesDone) / secondsElapsed;
}

std::optional<std::int64_t> CheckProgress::SecondsLeft() const {
  const double speed = BytesPerSecond();
  if (speed <= 0) return std::nullopt;
  const std::uint64_t left = bytesTotal > bytesDone ? bytesTotal - bytesDone : 0;
  return static_cast<std::int64_t>(std::ceil(static_cast<double>(left) / speed));
}

int CheckProgress::Percent() const {
  const auto share = [](double done, double total) {
    if (total <= 0) return 100;
    const double percent = std::floor(done * 100 / total);
    return percent > 100 ? 100 : static_cast<int>(percent);
  };
  if (bytesTotal > 0) return share(static_cast<double>(bytesDone), static_cast<double>(bytesTotal));
  return share(static_cast<double>(filesDone), static_cast<double>(filesTotal));
}

}  // namespace discovel
