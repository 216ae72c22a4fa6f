// The disc check over a generated disc folder of 2,000 files and about 1 GB,
// beside `cat` of the same files to /dev/null, which the ./benchmark script
// times in the same run and hands over (the Windows build cannot run cat).
//   check_bench --generate FOLDER            writes FOLDER/disc (native only)
//   check_bench --disc FOLDER --cat-seconds S
// The figure to watch is the check's time over cat's.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "catalog/ArchiveFile.h"
#include "catalog/TextUtil.h"
#include "check/DiscCheck.h"
#include "platform/Platform.h"
#include "scan/FolderScanner.h"

using namespace discovel;

namespace {

constexpr int kFolders = 20;
constexpr int kFilesPerFolder = 100;
constexpr std::uint64_t kTargetBytes = 1000ull * 1000 * 1000;

void Generate(const std::filesystem::path& folder) {
  std::uint32_t state = 20261209;
  const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  std::vector<char> block(1 << 20);
  for (char& c : block) c = static_cast<char>(next() >> 24);
  const std::uint64_t average = kTargetBytes / (kFolders * kFilesPerFolder);
  std::uint64_t total = 0;
  for (int f = 0; f < kFolders; ++f) {
    const auto dir = folder / "disc" / ("Folder " + std::to_string(f));
    std::filesystem::create_directories(dir);
    for (int i = 0; i < kFilesPerFolder; ++i) {
      // Sizes from a fifth of the average to nearly twice it.
      std::uint64_t size = average / 5 + next() % (average * 9 / 5);
      total += size;
      std::ofstream out(dir / ("file " + std::to_string(i) + ".bin"), std::ios::binary);
      while (size > 0) {
        const std::size_t chunk = size < block.size() ? static_cast<std::size_t>(size) : block.size();
        out.write(block.data(), static_cast<std::streamsize>(chunk));
        size -= chunk;
      }
    }
  }
  std::printf("generated %d files, %llu bytes\n", kFolders * kFilesPerFolder, static_cast<unsigned long long>(total));
}

class Silent final : public CheckObserver {};

int Measure(const std::string& folder, double catSeconds) {
  FileSystem& fs = SystemFileSystem();
  const TextServices& text = SystemTextServices();
  const std::string root = IncludeTrailingBackslash(folder);
  const std::string disc = root + "disc\\";
  const std::string catalogue = root + "catalogue\\";
  fs.CreateFolders(catalogue);
  const std::string archive = catalogue + "1.dat";

  // The disc's archive, as adding it would have written it.
  NoPump pump;
  FolderScanner scanner(fs, pump);
  scanner.Scan(disc);
  ArchiveLines lines = scanner.Listing();
  ArchiveKeys keys;
  keys.mark = "CD No: 1";
  keys.files = scanner.FileCount();
  keys.size = scanner.TotalSize();
  lines.AppendKeyLines(keys);
  lines.Save(fs, archive, text);

  Silent observer;
  bool allWell = false;
  const double checkSeconds = bench::BestSeconds(
      [&] {
        DiscCheck check(fs, text, pump, observer);
        allWell = check.Run({disc, archive, catalogue}) && check.Report().rows.empty();
      },
      3);
  const double megabytes = static_cast<double>(scanner.TotalSize()) / 1e6;
  std::printf("disc check: %.3f s for %lld files, %.0f MB (%.0f MB/s)%s\n", checkSeconds,
              static_cast<long long>(scanner.FileCount()), megabytes, megabytes / checkSeconds,
              allWell ? "" : "  WRONG: the check found problems");
  if (catSeconds > 0) {
    std::printf("cat to /dev/null: %.3f s\n", catSeconds);
    std::printf("check / cat time: %.2f\n", checkSeconds / catSeconds);
  }
  fs.RemoveFile(archive);
  return allWell ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::strcmp(argv[1], "--generate") == 0) {
      Generate(argv[2]);
      return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "--disc") == 0 && std::strcmp(argv[3], "--cat-seconds") == 0) {
      return Measure(argv[2], std::atof(argv[4]));
    }
    std::fprintf(stderr, "usage: check_bench --generate FOLDER | --disc FOLDER --cat-seconds S\n");
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
