// The catalogue queries over a catalogue of fuzzed archives, against the
// same answers worked out from whole-file reads.
//
// Input: the mark to look for as the first line, then the archives (see
// FuzzInput.h), named relative to the catalogue folder.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "FuzzInput.h"
#include "MemoryFileSystem.h"
#include "catalog/ArchiveFile.h"
#include "catalog/CatalogQueries.h"
#include "catalog/TextUtil.h"
#include "platform/posix/PosixTextServices.h"

namespace discovel::fuzz {
namespace {

const std::string kCatalog = "M:\\Archive\\";

bool EndsWithDat(const std::string& path) {
  const std::string name = path.substr(path.rfind('\\') + 1);
  return name.size() >= 4 &&
         EqualsIgnoreAsciiCase(std::string_view(name).substr(name.size() - 4), ".dat");
}

}  // namespace
}  // namespace discovel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace discovel;
  using namespace discovel::fuzz;
  FuzzInput input(data, size);
  const std::string mark(input.Line());
  MemoryFileSystem fs;
  std::vector<std::string> archives;
  for (FuzzFile& file : SplitFiles(input.Rest())) {
    const std::string path = PathUnder(kCatalog, file.name);
    if (path.empty() || !fs.Put(path, std::move(file.bytes))) continue;
    archives.erase(std::remove(archives.begin(), archives.end(), path), archives.end());
    if (EndsWithDat(path)) archives.push_back(path);
  }

  std::vector<std::string> walked;
  WalkCatalog(fs, kCatalog, "*.dat", [&](const std::string& path) { walked.push_back(path); });
  std::sort(walked.begin(), walked.end());
  std::sort(archives.begin(), archives.end());
  FUZZ_REQUIRE(walked == archives);

  const PosixTextServices text;
  bool markFound = false;
  std::int32_t highest = 0;
  for (const std::string& path : archives) {
    const ArchiveText whole = ArchiveText::Load(fs, path, SystemTextServices());
    for (const std::string_view key : {kAMark, kANumber, kAEnd, std::string_view("ANote")}) {
      FUZZ_REQUIRE(ReadArchiveKey(fs, SystemTextServices(), path, key) == whole.ReadKey(key));
    }
    const std::string stored = whole.ReadKey(kAMark);
    if (!TrimBlanksAndControls(stored).empty() && text.ToUpper(stored) == text.ToUpper(mark)) {
      markFound = true;
    }
    const auto number = ParseInt32(TrimBlanksAndControls(whole.ReadKey(kANumber)));
    if (number) highest = std::max(highest, *number);
  }
  FUZZ_REQUIRE(MarkExists(fs, text, mark, kCatalog, "*.dat") == markFound);
  FUZZ_REQUIRE(HighestArchiveNumber(fs, SystemTextServices(), kCatalog, "*.dat") ==
               (highest != 0 ? highest : static_cast<std::int32_t>(archives.size())));
  return 0;
}
