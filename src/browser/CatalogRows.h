#pragma once
// What the catalogue window shows of each archive, read from its key block
// only (the tail of the file), and the totals of the whole catalogue.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "catalog/ArchiveKeys.h"
#include "catalog/CountTotal.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "platform/UiPump.h"

namespace discovel {

// The nine cells of one row, as shown.
struct CatalogRow {
  std::string mark;      // "Unknown" when the archive has none
  std::string date;      // "Unknown" when there is none or it is no date
  std::string location;
  std::string dirs;      // the counts through the number formatter
  std::string files;
  std::string size;
  std::string fileName;  // the archive file's full path
  std::string note;
  std::string lastCheck;  // the last check's moment and result, "Never" when none
  SourceKind kind = SourceKind::kDisc;
  std::string source;  // "CD/DVD", or the drive's or folder's path
  // The last check's packed moment, 0 for none: the column sorts by it.
  std::uint32_t lastCheckKey = 0;
  // The counts as numbers, for the totals; never below 0.
  std::int64_t dirCount = 0;
  std::int64_t fileCount = 0;
  std::int64_t byteCount = 0;
};

// Exact for any catalogue: sums of 64-bit counts may pass the 64-bit limit.
struct CatalogTotals {
  std::int64_t archives = 0;
  CountTotal files;
  CountTotal dirs;
  CountTotal bytes;

  void Add(const CatalogRow& row);
  void Remove(const CatalogRow& row);
};

// The row of the archive at `path`. An ADate that is empty or no real date
// shows "Unknown". Throws AppError naming the file when the file cannot be
// read or its AFiles, ADirs or ASize is absent, no number, below 0 or past the
// 64-bit limit: such a file (a leftover scratch file, a damaged archive) is no
// disc of the catalogue.
CatalogRow ReadCatalogRow(FileSystem& fs, const TextServices& text, const std::string& path);

// "Archives: 2; Files: 1.204; Directories: 37; Total size: 5.120", or
// "There are no archives." for an empty list.
std::string CatalogSummary(const CatalogTotals& totals, std::size_t rows, std::string_view thousands);

// Reads every archive under `folder` (the archives of a folder before its
// subfolders), pumping messages after each directory entry. An archive that
// cannot be read goes to `onFailure` with the reason, and the load goes on.
// Stops before the next subfolder once `stopRequested` says so or the
// application ends; false then.
bool LoadCatalog(FileSystem& fs, const TextServices& text, UiPump& pump, std::string_view folder,
                 const std::function<bool()>& stopRequested, const std::function<void(CatalogRow)>& onRow,
                 const std::function<void(const std::string& message)>& onFailure);

}  // namespace discovel
