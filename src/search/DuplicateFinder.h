#pragma once
// The duplicate search over every archive of the catalogue, without the
// window. The one full read of every archive keeps a 16-byte record per entry
// (its key's hash, its archive and where the entry starts), so ten million
// entries stay within a 32-bit process. The hashes worth a row (in two
// archives or more, or in the chosen one) are found bucket by bucket; rows are
// then built only for those entries, read again from where they start in just
// the archives that hold them. Each group is confirmed on the real keys, so
// two keys that share a hash never form one.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ArchiveEncoding.h"
#include "catalog/CountTotal.h"
#include "catalog/FolderTrail.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "platform/UiPump.h"
#include "search/DuplicateKey.h"
#include "search/DuplicateRecords.h"
#include "search/SearchEngine.h"
#include "search/SearchResults.h"
#include "search/SharedReadPass.h"
#include "search/TextArena.h"

namespace discovel {

enum class DuplicateMode {
  kOnSeveralDiscs,  // keys found in two or more archives, every copy listed
  kOnThisDiscOnly,  // the files of the marked archive whose key no other holds
};

// The texts are the finder's, in UTF-8: valid until its next Run, or its end.
struct DuplicateRow {
  std::string_view mark;
  std::string_view archivePath;
  std::string_view directory;
  std::string_view file;
  std::int64_t size = 0;     // 0 when the size line is no number
  std::int32_t dosTime = 0;  // the time line as packed; 0 when no number
  bool namesInCodePage = false;  // the archive has no encoding key
};

// Sizes are summed exactly, however many copies near the 64-bit limit there
// are; a size line below 0 counts as 0.
struct DuplicateGroup {
  std::span<const DuplicateRow> rows;  // by mark, then directory, then file; the finder's
  CountTotal extraBytes;               // every copy's size but the largest's
};

struct DuplicateTotals {
  std::size_t groups = 0;
  std::size_t files = 0;
  CountTotal bytes;  // the extra copies; in the one-disc mode, the files listed
};

struct DuplicateRequest {
  DuplicateCriteria criteria;
  DuplicateMode mode = DuplicateMode::kOnSeveralDiscs;
  // The "Marks" box: "" for all archives. With a mark, the several-discs mode
  // lists only groups with a copy in that archive; the one-disc mode needs one.
  std::string mark;
};

class DuplicateFinder {
 public:
  // The observer hears of each archive the first read is done with (one
  // progress step each) and of each damaged archive, once, which is then left
  // out as a whole.
  DuplicateFinder(FileSystem& fs, const TextServices& text, UiPump& pump,
                  SearchObserver& observer,
                  std::size_t budgetBytes = SearchResults::kDefaultBudget,
                  DuplicateHashFunction hash = DuplicateKeyHash);

  // Searches `folder` and everything below it for the archives matching
  // `mask`. Clears the abort flag first. False when aborted, the application
  // is ending, or the records and rows would pass the memory budget (then
  // ResultsWereFull, and nothing is listed). Groups come largest extra size first.
  bool Run(std::string_view folder, const std::string& mask, const DuplicateRequest& request);

  void Abort() { m_abort = true; }
  bool ResultsWereFull() const { return m_resultsFull; }

  const std::vector<DuplicateGroup>& Groups() const { return m_groups; }
  const DuplicateTotals& Totals() const { return m_totals; }

 private:
  struct Archive {
    std::string path;
    std::string mark;  // once read, as UTF-8
    ArchiveEncoding encoding = ArchiveEncoding::CodePage;  // once read
  };
  struct Keyed;        // a row with its key, before grouping
  struct ArchiveRows;     // what the second read takes from one archive
  struct ArchiveMatches;  // what another archive tells in the one-disc mode
  struct ArchiveRecords {  // what the first read takes from one archive
    std::vector<DuplicateRecord> records;
    std::string mark;
    ArchiveEncoding encoding = ArchiveEncoding::CodePage;
    std::string nameText;  // scratch
  };
  class KeyHasher;

  void ListArchives(FolderTrail& trail, const std::string& folder, const std::string& mask);
  // Every entry of the archive at `path`, its mark (as UTF-8) and its
  // encoding: `entry` gets where each starts and its fields as the archive
  // holds them. Pumps messages when `pump` says so: only the window's own
  // thread may.
  template <class Entry>
  void ReadEntries(const std::string& path, std::string_view bytes, const NameFolder& names, std::string& mark,
                   ArchiveEncoding& encoding, bool pump, const Entry& entry);
  // Names a damaged archive once: true when `error` says it is one (the
  // caller drops what it had of it). What stops the run is thrown on.
  bool Failed(std::size_t archive, const std::exception_ptr& error);
  // Moves the records worth a row into `wanted`: those whose hash is in two
  // archives or more (one of them chosen, with a mark). Frees the records as it goes.
  void SelectWanted(DuplicateRecords& records, const std::vector<char>& damaged,
                    const DuplicateRequest& request, std::vector<DuplicateRecord>& wanted);
  // The one-disc mode: the chosen archives are read first, for their rows;
  // every other archive then only for which of those keys it holds too. No
  // record per entry, and no archive read twice.
  void FindOnChosenDiscs(const std::string& root, const std::string& mask, const DuplicateRequest& request,
                         const NameFolder& names, KeyHasher (&hashers)[kReadPassSides]);
  std::string ChangedDuringTheSearch(std::size_t archive) const;
  void PumpAndCheck();
  void Charge(std::size_t bytes);
  void Group(std::deque<Keyed>& rows, const DuplicateRequest& request);

  FileSystem& m_fs;
  const TextServices& m_text;
  UiPump& m_pump;
  SearchObserver& m_observer;
  std::size_t m_budget;
  DuplicateHashFunction m_hash;
  bool m_abort = false;
  bool m_resultsFull = false;
  std::size_t m_charged = 0;

  std::vector<Archive> m_archives;  // the rows' marks and paths point into it
  TextArena m_texts;                // the rows' directories and files
  std::vector<DuplicateRow> m_rows;  // every group's, group after group
  std::vector<DuplicateGroup> m_groups;
  DuplicateTotals m_totals;
};

}  // namespace discovel
