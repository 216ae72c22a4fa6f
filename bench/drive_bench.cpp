// Adding a folder tree as a drive or folder archive, and updating it, beside
// a bare walk of the same tree with the system's own listing calls in the
// same run; and the memory an add and an update of 1,000,000 files take.
//   drive_bench --generate FOLDER   writes FOLDER/tree: 200,000 files in 20,000 folders (native only)
//   drive_bench --tree FOLDER       the figures (the Windows build walks with FindFirstFileExW)
// The figures to watch: the add over the walk (goal 1.3) and the update over
// the walk (goal 1.5).
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "BenchMemory.h"
#include "BenchTiming.h"
#include "catalog/ArchiveSource.h"
#include "platform/AppContext.h"
#include "platform/Platform.h"
#include "scan/AddDiscSession.h"
#include "support/ForwardingFileSystem.h"
#include "support/MemorySettings.h"
#include "support/QuietAddDiscView.h"
#include "update/ArchiveRefresh.h"

#ifdef _WIN32
#include "ui/WindowPump.h"
#endif

using namespace discovel;

namespace {

constexpr int kTopFolders = 200;
constexpr int kSubfolders = 100;  // in each top folder: 20,000 folders in all
constexpr int kFilesPerFolder = 10;

void Generate(const std::filesystem::path& folder) {
  for (int top = 0; top < kTopFolders; ++top) {
    for (int sub = 0; sub < kSubfolders; ++sub) {
      const auto dir = folder / "tree" / ("Album " + std::to_string(top)) / ("Disc " + std::to_string(sub));
      std::filesystem::create_directories(dir);
      for (int i = 0; i < kFilesPerFolder; ++i) {
        std::ofstream out(dir / ("Track " + std::to_string(i) + ".mp3"), std::ios::binary);
        out << std::string(static_cast<std::size_t>((top + sub + i) % 64), 'x');
      }
    }
  }
  std::printf("generated %d files in %d folders\n", kTopFolders * kSubfolders * kFilesPerFolder,
              kTopFolders * kSubfolders + kTopFolders);
}

#ifdef _WIN32
// What adding `root` writes into a fresh catalogue: the archive's path. The
// session pumps as the add-disc dialog's does for a drive or folder.
std::string AddTree(FileSystem& fs, const std::string& catalog, const std::string& root) {
  test::MemorySettings settings;
  AppContext context{{fs, settings, SystemTextServices()}, {catalog, '\0'}};
  WalkPump pump;
  test::QuietAddDiscView view;
  AddDiscSession session(context, pump, view, ArchiveSource{SourceKind::kFolder, root, 1, "TREE"});
  session.Open();
  if (!session.Ok("TREE", "", "")) {
    throw std::runtime_error("the tree could not be added: " + view.message + (view.alerts.empty() ? "" : " " + view.alerts.front()));
  }
  return session.SavedArchive();
}

std::string FreshFolder(const std::string& base, const std::string& name) {
  const std::string folder = base + name + "\\";
  std::filesystem::remove_all(std::filesystem::u8path(folder));
  SystemFileSystem().CreateFolders(folder);
  return folder;
}

// The bare walk: every folder listed with the system's own calls, files counted.
std::uint64_t BareWalk(const std::wstring& folder) {
  std::uint64_t files = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return 0;
  std::vector<std::wstring> subfolders;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (std::wcscmp(data.cFileName, L".") != 0 && std::wcscmp(data.cFileName, L"..") != 0) {
        subfolders.push_back(data.cFileName);
      }
    } else {
      ++files;
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  for (const std::wstring& sub : subfolders) files += BareWalk(folder + sub + L"\\");
  return files;
}

#endif

// A drive of 1,000 folders of 1,000 files each that exists only in memory:
// what the add and the update hold for 1,000,000 files, without the time of
// making them on a disk.
class MillionFiles final : public test::ForwardingFileSystem {
 public:
  static constexpr const char* kRoot = "V:\\";
  void ListFolder(const std::string& folder, const std::string& mask,
                  const std::function<bool(const DirEntry&)>& onEntry) override {
    if (folder.rfind(kRoot, 0) != 0) return m_fs.ListFolder(folder, mask, onEntry);
    DirEntry entry;
    entry.lastWrite = {2026, 12, 10, 9, 0, 0, 0};
    if (folder == kRoot) {
      entry.isFolder = true;
      for (int f = 0; f < 1000; ++f) {
        entry.name = "Folder " + std::to_string(f);
        if (!onEntry(entry)) return;
      }
      return;
    }
    entry.isFolder = false;
    for (int i = 0; i < 1000; ++i) {
      entry.name = "File number " + std::to_string(i) + ".jpg";
      entry.size = static_cast<std::uint64_t>(1000 + i + (changed ? 1 : 0));
      if (!onEntry(entry)) return;
    }
  }
  std::string ListFolderOrSayWhy(const std::string& folder, const std::string& mask,
                                 const std::function<bool(const DirEntry&)>& onEntry) override {
    ListFolder(folder, mask, onEntry);
    return {};
  }
  bool changed = false;
};

#ifdef _WIN32
int Measure(const std::string& base) {
  const std::string tree = base + "tree\\";
  FileSystem& fs = SystemFileSystem();
  const std::wstring wide = L"\\\\?\\" + std::filesystem::u8path(tree).wstring();
  std::uint64_t files = 0;
  const double walk = bench::BestSeconds([&] { files = BareWalk(wide); }, 3);
  std::printf("bare FindFirstFileExW walk: %.3f s (%llu files)\n", walk, static_cast<unsigned long long>(files));
  std::string archive;
  const double add = bench::BestSeconds([&] { archive = AddTree(fs, FreshFolder(base, "catalogue"), tree); }, 3);
  std::printf("adding the tree as a folder, from OK to the archive written: %.3f s", add);
  std::printf(", %.2fx the walk (goal <= 1.3)\n", add / walk);

  // One file in a hundred grows by a byte.
  int grown = 0;
  for (int top = 0; top < kTopFolders; ++top) {
    for (int sub = 0; sub < kSubfolders; sub += 10) {
      const std::string file = tree + "Album " + std::to_string(top) + "\\Disc " + std::to_string(sub) + "\\Track 0.mp3";
      std::ofstream out(std::filesystem::u8path(file), std::ios::binary | std::ios::app);
      out << 'y';
      ++grown;
    }
  }
  WalkPump pump;  // as the update window's
  std::size_t changed = 0;
  const double update = bench::BestSeconds([&] {
    ArchiveRefresh refresh(fs, SystemTextServices(), pump, archive);
    refresh.Walk(tree);
    changed = refresh.Differences().counts.changed;
  }, 3);
  std::printf("the update's walk and comparison, %d files changed: %.3f s (%zu found changed)", grown, update, changed);
  std::printf(", %.2fx the walk (goal <= 1.5)\n", update / walk);
  if (changed != static_cast<std::size_t>(grown)) {
    std::printf("WRONG: the update found %zu changed files, %d were changed\n", changed, grown);
    return 1;
  }

  MillionFiles million;
  const std::string big = AddTree(million, FreshFolder(base, "million"), MillionFiles::kRoot);
  million.changed = true;
  ArchiveRefresh refresh(million, SystemTextServices(), pump, big);
  refresh.Walk(MillionFiles::kRoot);
  std::printf("1,000,000 files added and updated: peak private bytes %.0f MB (of a 32-bit process's 2,048)\n",
              bench::PeakPrivateMegabytes());
  std::printf("  the update found %zu of them changed\n", refresh.Differences().counts.changed);
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::strcmp(argv[1], "--generate") == 0) {
      Generate(argv[2]);
      return 0;
    }
#ifdef _WIN32
    if (argc == 3 && std::strcmp(argv[1], "--tree") == 0) {
      std::string base = argv[2];
      if (base.back() != '\\' && base.back() != '/') base += '\\';
      return Measure(base);
    }
#endif
    std::fprintf(stderr, "usage: drive_bench --generate FOLDER | --tree FOLDER\n");
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "drive_bench: %s\n", error.what());
    return 1;
  }
}
