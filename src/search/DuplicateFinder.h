#pragma once
// The duplicate search over every archive of the catalogue, without the
// window. The first read of every archive keeps only a 12-byte record per
// entry (its key's hash and its archive's number), so ten million entries
// stay within a 32-bit process. Rows are then built by a second read of just
// the archives that hold a hash worth listing; reading the names of every
// entry on the first read would cost far more memory than reading a few
// archives twice costs time. Each group is confirmed on the real keys, so two
// keys that share a hash never form one.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/FolderTrail.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "platform/UiPump.h"
#include "search/DuplicateKey.h"
#include "search/SearchEngine.h"
#include "search/SearchResults.h"

namespace discovel {

enum class DuplicateMode {
  kOnSeveralDiscs,  // keys found in two or more archives, every copy listed
  kOnThisDiscOnly,  // the files of the marked archive whose key no other holds
};

struct DuplicateRow {
  std::string mark;
  std::string archivePath;
  std::string directory;
  std::string file;
  std::int64_t size = 0;     // 0 when the size line is no number
  std::int32_t dosTime = 0;  // the time line as packed; 0 when no number
};

struct DuplicateGroup {
  std::vector<DuplicateRow> rows;  // by mark, then directory, then file
  std::int64_t extraBytes = 0;     // every copy's size but the largest's
};

struct DuplicateTotals {
  std::size_t groups = 0;
  std::size_t files = 0;
  std::int64_t bytes = 0;  // the extra copies; in the one-disc mode, the files listed
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
  struct Seen;     // one entry's hash and archive, as kept from the first read
  struct Archive {
    std::string path;
    std::string mark;  // once read
  };
  struct Keyed;    // a row with its key, before grouping

  void ListArchives(FolderTrail& trail, const std::string& folder, const std::string& mask);
  // Reads each archive whose flag in `wanted` is set, one ahead: `entry` gets
  // each of its entries, then `finished` whether it was read to its end.
  template <class Entry, class Finished>
  void ReadArchives(const std::vector<bool>& wanted, const Entry& entry, const Finished& finished);
  template <class Entry>
  void ReadEntries(Archive& archive, std::string_view bytes, const Entry& entry);
  void PumpAndCheck();
  void Charge(std::size_t bytes);
  void Group(std::deque<Keyed>& keyed, const DuplicateRequest& request);

  FileSystem& m_fs;
  const TextServices& m_text;
  UiPump& m_pump;
  SearchObserver& m_observer;
  std::size_t m_budget;
  DuplicateHashFunction m_hash;
  bool m_abort = false;
  bool m_resultsFull = false;
  std::size_t m_charged = 0;

  std::vector<Archive> m_archives;
  std::vector<DuplicateGroup> m_groups;
  DuplicateTotals m_totals;
};

}  // namespace discovel
