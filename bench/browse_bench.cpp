// Browsing one large archive by its folders: the tree built from the archive
// beside reading the archive alone, in the same run; one folder's rows sorted
// by name; and the memory the tree holds beside the archive's size.
//   browse_bench --generate FOLDER   writes FOLDER/browse.dat: 1,000,000 entries in 50,000 folders,
//                                    one of them with 100,000 files
//   browse_bench --archive FILE      the figures
// The figures to watch: the tree over the read (goal 2) and the tree's bytes
// over the archive's (goal 3).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "BenchCatalogue.h"
#include "BenchMemory.h"
#include "BenchTiming.h"
#include "browse/ArchiveFolders.h"
#include "catalog/ArchiveFile.h"
#include "catalog/DosTime.h"
#include "platform/Platform.h"

using namespace discovel;

namespace {

constexpr int kAlbums = 500;
constexpr int kDiscsPerAlbum = 99;  // 500 + 49,500 = 50,000 folders
constexpr int kEntries = 1'000'000;
constexpr int kLargeFolderFiles = 100'000;  // in the first disc folder
const char* const kLargeFolder = "Album 0\\Disc 0";

std::string DiscFolder(int album, int disc) {
  return "Album " + std::to_string(album) + "\\Disc " + std::to_string(disc);
}

void Generate(const std::string& folder) {
  bench::Random random(20240101);
  ArchiveLines lines;
  std::int64_t total = 0;
  const auto add = [&](const std::string& where, const char* stem) {
    char name[64];
    std::snprintf(name, sizeof name, "%s %06u.jpg", stem, random.Next(1000000));
    const std::int64_t size = random.Next(20000000);
    total += size;
    const LocalTime stamp{static_cast<int>(1995 + random.Next(25)), static_cast<int>(1 + random.Next(12)),
                          static_cast<int>(1 + random.Next(28)), static_cast<int>(random.Next(24)),
                          static_cast<int>(random.Next(60)), 0, 0};
    lines.AppendEntry(where, name, size, PackDosDateTime(stamp));
  };
  for (int i = 0; i < kLargeFolderFiles; ++i) add(kLargeFolder, random.Next(2) ? "IMG" : "img");
  // The rest spread over the other disc folders; the album folders hold none.
  const int others = kAlbums * kDiscsPerAlbum - 1;
  const int rest = kEntries - kLargeFolderFiles;
  int written = 0;
  for (int f = 0; f < others; ++f) {
    const int files = rest / others + (f < rest % others ? 1 : 0);
    const int index = f + 1;
    const std::string where = DiscFolder(index / kDiscsPerAlbum, index % kDiscsPerAlbum);
    for (int i = 0; i < files; ++i, ++written) add(where, "Track");
  }
  ArchiveKeys keys;
  keys.mark = "BROWSE";
  keys.date = 908218368;
  keys.files = kEntries;
  keys.dirs = kAlbums * (kDiscsPerAlbum + 1);
  keys.size = total;
  keys.number = 1;
  lines.AppendKeyLines(keys);
  const std::string path = bench::CorePath(bench::Native(folder)) + "browse.dat";
  SystemFileSystem().CreateFolders(bench::CorePath(bench::Native(folder)));
  lines.Save(SystemFileSystem(), path, SystemTextServices());
  std::printf("generated %s: %d entries in %d folders\n", bench::Native(path).string().c_str(), kLargeFolderFiles + written,
              kAlbums * (kDiscsPerAlbum + 1));
}

int Measure(const std::string& path) {
  FileSystem& fs = SystemFileSystem();
  const TextServices& text = SystemTextServices();
  std::size_t archiveBytes = 0;
  const double read = bench::BestSeconds([&] { archiveBytes = ArchiveText::Load(fs, path, text).Text().size(); });
  std::optional<ArchiveFolders> tree;
  const double build = bench::BestSeconds([&] {
    tree.reset();
    tree.emplace(ArchiveFolders::Load(fs, path, text));
  });
  std::printf("reading the archive whole (%.1f MB): %.3f s\n", static_cast<double>(archiveBytes) / 1e6, read);
  std::printf("building its folder tree, the read included: %.3f s, %.2fx the read (goal <= 2)\n", build,
              build / read);
  const ArchiveFolders::Totals& root = tree->TotalsOf(ArchiveFolders::kRoot);
  std::printf("  %llu files in %llu folders\n", static_cast<unsigned long long>(root.files),
              static_cast<unsigned long long>(root.folders));

  const std::optional<ArchiveFolders::FolderIndex> large = tree->Find(kLargeFolder);
  if (!large || tree->Files(*large).size() != kLargeFolderFiles) {
    std::printf("WRONG: the folder %s does not hold %d files\n", kLargeFolder, kLargeFolderFiles);
    return 1;
  }
  std::size_t rows = 0;
  const double sort = bench::BestSeconds([&] { rows = tree->FilesByName(*large).size(); });
  std::printf("the rows of a folder of %zu files, sorted by name: %.3f s\n", rows, sort);

  const double held = static_cast<double>(tree->HeldBytes());
  std::printf("the tree holds %.1f MB, %.2fx the archive (goal <= 3)\n", held / 1e6,
              held / static_cast<double>(archiveBytes));
#ifdef _WIN32
  std::printf("peak private bytes of the run: %.0f MB (of a 32-bit process's 2,048)\n", bench::PeakPrivateMegabytes());
#endif
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::strcmp(argv[1], "--generate") == 0) {
      Generate(argv[2]);
      return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--archive") == 0) {
      std::string path = argv[2];
      std::replace(path.begin(), path.end(), '/', '\\');  // a core path
      return Measure(path);
    }
    std::fprintf(stderr, "usage: browse_bench --generate FOLDER | --archive FILE\n");
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "browse_bench: %s\n", error.what());
    return 1;
  }
}
