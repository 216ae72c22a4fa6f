#pragma once
// The search over every archive of the catalogue, without the window: the
// window supplies the request and the live mode, pumps its messages through UiPump (where
// Go and closing request an abort), shows progress and reports incomplete rows.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "catalog/FolderTrail.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "platform/UiPump.h"
#include "search/CodePageDecoder.h"
#include "search/FoldedTextSearcher.h"
#include "search/LineLocator.h"
#include "search/SearchCriteria.h"
#include "search/FoundColumns.h"
#include "search/SearchResults.h"
#include "search/TextSearcher.h"

namespace discovel {

class ReadAhead;

// What one search looks for, fixed when it starts.
struct SearchRequest {
  // The search field's text ('*' and '?' are dropped), asked anew as each
  // archive opens: what is typed during a search applies to the archives after it.
  std::function<std::string()> text;
  AdvancedCriteria advanced;  // the advanced panel, disabled while searching
  std::string restriction;    // the mark every row's archive must carry exactly; "" for all
};

// Asked for every entry: the mode can be switched while a search runs.
using AdvancedModeQuestion = std::function<bool()>;

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
  // Everything is called on the thread that calls Run, except that the
  // BlockReaders `fs` opens for the archives are read to their end and
  // destroyed on a second thread the search starts, one archive ahead.
  SearchEngine(FileSystem& fs, const TextServices& text, UiPump& pump, SearchObserver& observer);

  // One search of `folder` (folder-path rule applied) and everything below it,
  // appending to `results`. Clears the abort flag and processes messages once
  // first. False when it was aborted, the application is ending or the results
  // are full. An archive that cannot be read to its end (unreadable, an APars or
  // AFiles that is not a number, an APars of 0 lines, an entry past the end of
  // its file) keeps the rows it gave, is reported to the observer, and the
  // search goes on with the next one.
  bool Run(std::string_view folder, const std::string& mask, const SearchRequest& request,
           const AdvancedModeQuestion& advancedMode, SearchResults& results);

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
    bool foldEachEntry = false;  // the match text goes through AnsiToUpper per entry
    // The term's bytes through a byte table (ANSI archives, and letter case
    // kept), or its characters by case folding (UTF-8 archives).
    bool byFolding = false;
    TextSearcher searcher;
    FoldedTextSearcher foldedSearcher;
    std::size_t Find(const char* text, std::size_t from, std::size_t to) const {
      return byFolding ? foldedSearcher.Find(text, from, to) : searcher.Find(text, from, to);
    }
    std::size_t FindCountingLines(const char* text, std::size_t from, std::size_t to, std::size_t& lineEnds) const {
      return byFolding ? foldedSearcher.FindCountingLines(text, from, to, lineEnds)
                       : searcher.FindCountingLines(text, from, to, lineEnds);
    }
    // The term never matches a line end or the separator: it can be looked for
    // in the archive's bytes directly, and a hit lies within one line.
    bool direct = false;
    bool termInMark = false;  // direct, advanced: the mark field holds the term
    // direct: hitLine is the line of the first hit from the start of a line at
    // or before the current entry on (kNoLine: none), once searched.
    bool searched = false;
    std::size_t hitLine = 0;
  };

  // Fills m_otherMarks with the archives under `root` whose mark is not
  // `restriction` (none when it is ""); false when an abort stopped it.
  bool FindArchivesOfOtherMarks(const std::string& root, const std::string& mask, const std::string& restriction);
  bool SearchFolder(const std::string& folder);
  void SearchArchive(const std::string& path, std::string_view bytes);
  // The index past the entries from `next` on that a simple search surely
  // passes over; `next` when there are none.
  std::int32_t QuietUntil(std::int32_t next, std::int32_t stride, std::int32_t count) const;
  // Goes over those entries after entry `i`, reading only the mode of each
  // (and testing the entries in advanced mode that could still match), with
  // the usual pumps; `i` ends at the last entry done. False once aborted.
  bool PassQuietEntries(const std::string& path, std::int32_t stride, std::int32_t count,
                        std::int32_t& i);
  Haystack& HaystackFor(bool upper);
  bool TermFound(Haystack& hay, std::size_t base, bool advanced);
  bool Matches(std::size_t base, bool advanced);
  // Reads the four lines of the entry at line `base`; false when they are not
  // all there.
  bool LoadEntry(std::uint64_t base);
  // The four lines of the entry at line `base`, which must all exist.
  const LineLocator::Span* EntryLines(std::size_t base);
  std::string_view Text(const LineLocator::Span& line) const {
    return m_bytes.substr(line.begin, line.end - line.begin);
  }
  void AddRow(const std::string& path, std::int32_t index, std::size_t base);

  FileSystem& m_fs;
  const TextServices& m_text;
  CodePageDecoder m_decoder;
  UiPump& m_pump;
  SearchObserver& m_observer;
  bool m_abort = false;
  bool m_resultsFull = false;

  // Fixed for one search.
  const SearchRequest* m_request = nullptr;
  const AdvancedModeQuestion* m_advancedMode = nullptr;
  SearchResults* m_results = nullptr;
  std::string m_mask;
  std::optional<FolderTrail> m_trail;  // the folders open in the running search
  ReadAhead* m_readAhead = nullptr;
  std::unordered_set<std::string> m_otherMarks;  // archives the restriction passes over
  bool m_singleByte = true;
  UpperTable m_upper{};
  CellFormats m_formats;

  // The archive being searched.
  bool m_utf8 = false;  // else in the code page
  std::string_view m_bytes;
  std::string m_foldedBytes;  // multi-byte code pages: the archive upper-cased whole
  LineLocator m_lines;
  std::vector<std::string_view> m_keyLines;  // the key block, last line first
  std::size_t m_entryBase = 0;  // EntryLines' last answer, when m_entryKnown
  bool m_entryKnown = false;
  LineLocator::Span m_entry[4];
  std::string m_markBytes;  // as the archive holds it: what the term is matched with
  std::string m_mark;       // as UTF-8
  std::string m_term;       // in the archive's encoding
  AdvancedCriteria m_advanced;
  // Rows can come from the archive: its mark is the restriction's, and the
  // term has the archive's encoding.
  bool m_canMatch = true;
  Haystack m_upperHay;
  Haystack m_exactHay;
  std::string m_match;  // reused for every entry that needs a built match text
  std::string m_decodedFolder;  // a row's texts of an ANSI archive as UTF-8
  std::string m_decodedName;
};

}  // namespace discovel
