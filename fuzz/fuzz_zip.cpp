// The zip reader on arbitrary bytes, as a backup file chosen by the user may
// hold them: it either refuses the file with AppError or hands out entries
// whose bytes match their sizes, and a merge of them writes nothing outside
// the catalogue folder and only names that are UTF-8. What it read, written
// again, reads back the same: names marked as UTF-8 or not, in any script.
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "MemoryFileSystem.h"
#include "backup/BackupFile.h"
#include "backup/CatalogMerge.h"
#include "backup/ZipReader.h"
#include "backup/ZipWriter.h"
#include "catalog/CatalogQueries.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "text/Utf8.h"

namespace discovel::fuzz {
namespace {

const std::string kCatalog = "M:\\Archive\\";

struct Unpacked {
  std::string name;
  std::string bytes;
  std::int32_t time;
};

std::vector<Unpacked> ReadEntries(std::string_view bytes) {
  std::vector<Unpacked> unpacked;
  const ZipReader zip(bytes, SystemTextServices());
  for (const ZipEntry& entry : zip.Entries()) {
    try {
      std::string data = zip.Extract(entry);
      FUZZ_REQUIRE(data.size() == entry.size);
      unpacked.push_back({entry.name, std::move(data), entry.dosTime});
    } catch (const AppError&) {
    }
  }
  return unpacked;
}

void WriteAgainAndCompare(const std::vector<Unpacked>& entries) {
  ZipWriter writer;
  for (const Unpacked& entry : entries) writer.Add(entry.name, entry.bytes, entry.time);
  const std::string again = writer.Finish();
  const std::vector<Unpacked> back = ReadEntries(again);
  FUZZ_REQUIRE(back.size() == entries.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    FUZZ_REQUIRE(back[i].name == entries[i].name && back[i].bytes == entries[i].bytes);
    FUZZ_REQUIRE(back[i].time == entries[i].time);
  }
}

void MergeIntoMemory(std::string_view bytes) {
  MemoryFileSystem fs;
  fs.Put(kCatalog + "1.dat", "\\\r\na.txt\r\n1\r\n0\r\nAMark=CD 1\r\n");
  NoPump pump;
  NoBackupProgress progress;
  try {
    const BackupFile backup{std::string(bytes), SystemTextServices()};
    for (const PlannedArchive& archive : backup.Archives()) {
      const std::string& path = archive.relativePath;
      FUZZ_REQUIRE(!path.empty() && path.front() != '\\' && path.find(':') == std::string::npos);
      FUZZ_REQUIRE(("\\" + path + "\\").find("\\..\\") == std::string::npos);
      FUZZ_REQUIRE(utf8::IsValid(path));
    }
    MergeCatalog(fs, SystemTextServices(), kCatalog, backup, BackupPacing{progress, pump});
  } catch (const AppError&) {
  }
  WalkCatalog(fs, "M:\\", "*.*", [](const std::string& path) { FUZZ_REQUIRE(path.rfind(kCatalog, 0) == 0); });
}

}  // namespace
}  // namespace discovel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace discovel;
  using namespace discovel::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    WriteAgainAndCompare(ReadEntries(bytes));
  } catch (const AppError&) {
  }
  MergeIntoMemory(bytes);
  return 0;
}
