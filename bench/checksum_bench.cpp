// Throughput of the listing checksum over a 64 MiB listing-like file, beside a
// baseline that only reads the same file in the same blocks.
// The ratio is the figure to watch; absolute MB/s depend on the build type.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "catalog/ListingChecksum.h"
#include "platform/Platform.h"

using namespace discovel;

namespace {

constexpr std::size_t kFileBytes = 64u << 20;

// Core paths are backslash paths on every platform.
std::string CoreTempFolder() {
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto dir =
      std::filesystem::temp_directory_path() / ("discovel-bench-" + std::to_string(stamp));
  std::filesystem::create_directories(dir);
  std::string path = dir.string();
  std::replace(path.begin(), path.end(), '/', '\\');
  if (path.back() != '\\') path += '\\';
  return path;
}

std::string ListingText() {
  static const char* const kFolders[] = {"\\", "Music", "Music\\Rock", "Photos\\2006\\Holiday",
                                         "Setup\\Drivers\\x86"};
  static const char* const kExtensions[] = {".mp3", ".jpg", ".txt", ".dll", ".exe", ".ini"};
  std::uint32_t state = 20070102;
  const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  std::string text;
  text.reserve(kFileBytes + 256);
  while (text.size() < kFileBytes) {
    text += kFolders[next() % 5];
    text += "\r\nfile_";
    text += std::to_string(next() % 100000);
    text += kExtensions[next() % 6];
    text += "\r\n";
    text += std::to_string(next() % 50000000);
    text += "\r\n";
    text += std::to_string(879719370 + static_cast<int>(next() % 1000000));
    text += "\r\n";
  }
  text.resize(kFileBytes);
  return text;
}

double BestSeconds(const std::function<void()>& run) {
  double best = 1e30;
  for (int i = 0; i < 3; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

void RemoveBenchFolder(FileSystem& fs, const std::string& folder, const std::string& path) {
  fs.RemoveFile(path);
  std::string native = folder;
#ifndef _WIN32
  std::replace(native.begin(), native.end(), '\\', '/');
#endif
  std::error_code ignored;
  std::filesystem::remove(native, ignored);
}

}  // namespace

int main() {
  FileSystem& fs = SystemFileSystem();
  const std::string folder = CoreTempFolder();
  const std::string path = folder + "bench.lst";
  int result = 0;
  try {
    fs.WriteFileReplacing(path, ListingText());

    std::string checksum;
    const double checksumSeconds = BestSeconds([&] { checksum = ListingChecksumOfFile(fs, path); });

    std::uint64_t bytesRead = 0;
    const double readSeconds = BestSeconds([&] {
      const auto reader = fs.OpenForBlocks(path);
      const auto buffer = std::make_unique<char[]>(kChecksumBlockSize);
      bytesRead = 0;
      while (const std::size_t got = reader->Read(buffer.get(), kChecksumBlockSize)) {
        bytesRead += got;
      }
    });

    const double megabytes = static_cast<double>(kFileBytes) / 1e6;
    std::printf("listing checksum: %.1f MB/s (%s)\n", megabytes / checksumSeconds,
                checksum.c_str());
    std::printf("plain block read: %.1f MB/s (%llu bytes)\n", megabytes / readSeconds,
                static_cast<unsigned long long>(bytesRead));
    std::printf("checksum / read time: %.2f\n", checksumSeconds / readSeconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    result = 1;
  }
  RemoveBenchFolder(fs, folder, path);
  return result;
}
