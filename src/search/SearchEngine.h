#pragma once
// The search over every archive of the catalogue, without the window: the
// window supplies the live criteria, pumps its messages through UiPump (where
// Go and closing request an abort), shows progress and reports incomplete rows.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/FolderTrail.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "platform/UiPump.h"
#include "search/LineIndex.h"
#include "search/SearchCriteria.h"
#include "search/SearchResults.h"
#include "search/TextSearcher.h"

namespace discovel {

// Read from the window's controls while a search runs.
class SearchCriteriaSource {
 public:
  virtual ~SearchCriteriaSource() = default;
  // The typed text; read again for every archive.
  virtual std::string SearchText() const = 0;
  // Read for every entry: the mode can be switched while a search runs.
  virtual bool AdvancedMode() const = 0;
  // The advanced panel, read for every archive (it is disabled while searching).
  virtual AdvancedCriteria Advanced() const = 0;
  // The mark every row's archive must carry exactly; "" for all archives.
  virtual std::string Restriction() const = 0;
};

class SearchObserver {
 public:
  virtual ~SearchObserver() = default;
  // One progress step per archive file read.
  virtual void ArchiveSearched() {}
  // A row that could not be filled completely: "<archive path> <entry index>".
  virtual void RowIncomplete(const std::string& message) {}
  // An archive that could not be read to its end (unreadable, a count that is
  // no number, entries past its end). Its rows found so far stay, and the
  // search goes on with the next archive. `message` names the file.
  virtual void ArchiveFailed(const std::string& message) {}
};

class SearchEngine {
 public:
  SearchEngine(FileSystem& fs, const TextServices& text, UiPump& pump,
               const SearchCriteriaSource& criteria, SearchObserver& observer);

  // One search of `folder` (folder-path rule applied) and everything below it,
  // appending to `results`. Clears the abort flag and processes messages once
  // first. False when it was aborted, the application is ending or the results
  // are full. An archive that cannot be read to its end (unreadable, an APars or
  // AFiles that is not a number, an APars of 0 lines, an entry past the end of
  // its file) keeps the rows it gave, is reported to the observer, and the
  // search goes on with the next one.
  bool Run(std::string_view folder, const std::string& mask, SearchResults& results);

  // Takes effect after the current entry and before the next subfolder.
  void Abort() { m_abort = true; }
  bool AbortRequested() const { return m_abort; }
  // The last Run stopped because the results took all the memory they may.
  bool ResultsWereFull() const { return m_resultsFull; }

 private:
  // How one letter-case choice sees the archive: the bytes, the fold the
  // searcher applies, and the text the match text takes for mark and separator.
  struct Haystack {
    bool ready = false;
    const char* data = nullptr;
    std::string mark;  // as appended to the match text
    char separator = kFieldSeparator;
    bool foldEachEntry = false;  // the match text goes through ToUpper per entry
    TextSearcher searcher;
    // The term never matches a line end or the separator: it can be looked for
    // in the archive's bytes directly instead of in a built match text.
    bool direct = false;
    std::size_t hitLine = 0;  // nextHit is the first hit from this line's start on
    std::size_t nextHit = 0;
  };

  bool SearchFolder(const std::string& folder);
  void Load(const std::string& path);
  void AddFile(const std::string& path);
  Haystack& HaystackFor(bool upper);
  bool TermFound(Haystack& hay, std::size_t base, bool advanced);
  bool Matches(std::size_t base, bool advanced);
  void AddRow(const std::string& path, std::int32_t index, std::size_t base);

  FileSystem& m_fs;
  const TextServices& m_text;
  UiPump& m_pump;
  const SearchCriteriaSource& m_criteria;
  SearchObserver& m_observer;
  bool m_abort = false;
  bool m_resultsFull = false;

  // Fixed for one search.
  SearchResults* m_results = nullptr;
  std::string m_mask;
  std::optional<FolderTrail> m_trail;  // the folders open in the running search
  bool m_singleByte = true;
  UpperTable m_upper{};
  std::string m_thousands;
  char m_dateSep = '/';
  char m_timeSep = ':';

  // The archive being read.
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_capacity = 0;
  std::string_view m_bytes;
  std::string m_foldedBytes;  // multi-byte code pages: the archive upper-cased whole
  LineIndex m_lines;
  std::string m_mark;
  std::string m_term;
  AdvancedCriteria m_advanced;
  bool m_markAllowed = true;
  Haystack m_upperHay;
  Haystack m_exactHay;
  std::string m_match;  // reused for every entry that needs a built match text
};

}  // namespace discovel
