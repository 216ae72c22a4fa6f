#include "check/CheckProgress.h"

#include <cmath>

#include "catalog/NumberFormat.h"

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

namespace {

std::string TwoDigits(std::int64_t value) {
  std::string digits = std::to_string(value);
  if (digits.size() < 2) digits.insert(digits.begin(), '0');
  return digits;
}

std::string Duration(std::int64_t seconds) {
  const std::int64_t hours = seconds / 3600;
  const std::int64_t minutes = seconds / 60 % 60;
  const std::string rest = TwoDigits(seconds % 60);
  if (hours > 0) return std::to_string(hours) + ":" + TwoDigits(minutes) + ":" + rest;
  return std::to_string(minutes) + ":" + rest;
}

}  // namespace

std::string CheckProgressText(const CheckProgress& progress, std::string_view thousandsSeparator) {
  const auto count = [&](std::uint64_t value) {
    return FormatCount(static_cast<std::int64_t>(value), thousandsSeparator);
  };
  std::string text = "Files: " + count(static_cast<std::uint64_t>(progress.filesDone)) + " of " +
                     count(static_cast<std::uint64_t>(progress.filesTotal)) + "; Bytes: " + count(progress.bytesDone) +
                     " of " + count(progress.bytesTotal);
  const auto left = progress.SecondsLeft();
  if (!left) return text;
  const auto megabytes = static_cast<std::uint64_t>(std::llround(progress.BytesPerSecond() / 1e6));
  return text + "; Speed: " + count(megabytes) + " MB/s; Time left: " + Duration(*left);
}

}  // namespace discovel
