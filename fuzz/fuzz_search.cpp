// The search engine over a catalogue of fuzzed archives, ANSI and UTF-8 (an
// archive with the key line "AEncoding=UTF-8"), against the slow reference;
// and its parts, the line locator, the key block read from the end and the
// substring searchers, by bytes and by case folding, on the same bytes
// against the archive reader and plain loops.
//
// Input lines: options, numbers, the typed text and the restriction (UTF-8, as
// the window gives them); then the archives (see FuzzInput.h). Option letters: a advanced mode, c case-sensitive,
// m marks, D/N/T directories/file names/file types off, d by date, s by size,
// l at most, u multi-byte code page, x a code page whose upper case can be
// longer, f the mode switches from entry to entry (by the bits of the fourth
// number; no reference then). Numbers: date low, date high, size threshold, bits.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FuzzInput.h"
#include "MemoryFileSystem.h"
#include "SearchReference.h"
#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/CatalogQueries.h"
#include "platform/AppError.h"
#include "platform/UiPump.h"
#include "platform/posix/PosixTextServices.h"
#include "search/LineLocator.h"
#include "search/SearchEngine.h"
#include "search/FoldedTextSearcher.h"
#include "search/TextSearcher.h"
#include "text/CaseFold.h"
#include "text/Utf8.h"

namespace discovel::fuzz {
namespace {

const std::string kCatalog = "M:\\Archive\\";

// The POSIX text services, optionally posing as a multi-byte code page whose
// upper case of the sharp s is "SS".
class FuzzText final : public TextServices {
 public:
  FuzzText(bool singleByte, bool longerUpper) : m_singleByte(singleByte), m_longer(longerUpper) {}
  std::string ThousandsSeparator() const override { return m_posix.ThousandsSeparator(); }
  char DateSeparator() const override { return m_posix.DateSeparator(); }
  char TimeSeparator() const override { return m_posix.TimeSeparator(); }
  std::string ToUpper(std::string_view text) const override {
    if (!m_longer) return m_posix.ToUpper(text);
    std::string upper;
    for (const char c : text) upper += c == '\xDF' ? std::string("SS") : m_posix.ToUpper({&c, 1});
    return upper;
  }
  std::string AnsiToUpper(std::string_view ansi) const override {
    if (!m_longer) return m_posix.AnsiToUpper(ansi);
    std::string upper;
    for (const char c : ansi) upper += c == '\xDF' ? std::string("SS") : m_posix.AnsiToUpper({&c, 1});
    return upper;
  }
  bool IsSingleByteCodePage() const override { return m_singleByte && !m_longer; }
  UpperTable BuildUpperTable() const override {
    if (IsSingleByteCodePage()) return m_posix.BuildUpperTable();
    UpperTable wrong;
    wrong.fill('X');  // matches everything, should it ever be used
    return wrong;
  }
  void AppendAsUtf8(std::string_view ansi, std::string& out) const override { m_posix.AppendAsUtf8(ansi, out); }
  std::optional<std::string> ToCodePageExactly(std::string_view utf8) const override {
    return m_posix.ToCodePageExactly(utf8);
  }
  std::string ToCodePageAsAnsiFunctionsDo(std::string_view utf8) const override {
    return m_posix.ToCodePageAsAnsiFunctionsDo(utf8);
  }
  LocalTime Now() const override { return m_posix.Now(); }

 private:
  PosixTextServices m_posix;
  bool m_singleByte;
  bool m_longer;
};

class FuzzCriteria {
 public:
  explicit FuzzCriteria(const SearchSetup& setup) : m_setup(setup) {}
  SearchRequest Request() const {
    return {[this] { return m_setup.typed; }, m_setup.advanced, m_setup.restriction};
  }
  AdvancedModeQuestion Mode() const {
    return [this] { return AdvancedMode(); };
  }
  bool AdvancedMode() const {
    if (!switching) return m_setup.advancedMode;
    return (modeBits >> (m_calls++ % 32)) & 1;
  }

  bool switching = false;
  std::uint32_t modeBits = 0;

 private:
  const SearchSetup& m_setup;
  mutable unsigned m_calls = 0;
};

class CountingObserver final : public SearchObserver {
 public:
  void RowIncomplete(const std::string&) override { ++incomplete; }
  void ArchiveFailed(const std::string&) override { ++failures; }
  std::size_t incomplete = 0;
  int failures = 0;
};

std::size_t NaiveLineEnds(std::string_view bytes, std::size_t from, std::size_t to) {
  std::size_t count = 0;
  for (std::size_t i = from; i < to; ++i) {
    count += bytes[i] == '\r' || (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'));
  }
  return count;
}

// The locator against the archive reader, asked in an order the bytes choose:
// mostly forward, as the search asks, now and then back.
void CheckLineLocator(std::string_view bytes) {
  const ArchiveText text{std::string(bytes)};
  const std::size_t count = text.LineCount();
  const char* base = count == 0 ? nullptr : text.Line(0).data();
  const auto beginOf = [&](std::size_t line) {
    return static_cast<std::size_t>(text.Line(line).data() - base);
  };
  LineLocator lines;
  lines.Reset(bytes);
  std::uint32_t seed = static_cast<std::uint32_t>(bytes.size());
  for (const char c : bytes.substr(0, 32)) seed = seed * 31 + static_cast<unsigned char>(c);
  std::size_t line = 0;
  for (int step = 0; step < 48; ++step) {
    seed = seed * 1664525u + 1013904223u;
    const std::uint32_t pick = seed >> 8;
    switch (pick % 6) {
      case 0:  // forward, as the entries go
        line += pick / 8 % 6;
        FUZZ_REQUIRE(lines.Has(line) == (line < count));
        if (line < count) FUZZ_REQUIRE(lines.Begin(line) == beginOf(line));
        break;
      case 1: {  // the line of a hit
        if (bytes.empty()) break;
        const std::size_t offset = pick / 8 % bytes.size();
        if (bytes[offset] == '\r' || bytes[offset] == '\n') break;
        std::size_t expected = 0;
        while (expected + 1 < count && beginOf(expected + 1) <= offset) ++expected;
        FUZZ_REQUIRE(lines.LineAt(offset) == expected);
        break;
      }
      case 2: {  // an entry's lines, or past the end
        const std::size_t take = 1 + pick / 8 % 4;
        LineLocator::Span spans[4];
        FUZZ_REQUIRE(lines.Lines(line, take, spans) == (line + take <= count));
        for (std::size_t k = 0; k < take && line + take <= count; ++k) {
          FUZZ_REQUIRE(spans[k].begin == beginOf(line + k));
          FUZZ_REQUIRE(spans[k].end - spans[k].begin == text.Line(line + k).size());
        }
        break;
      }
      case 3:  // back a little
        line -= std::min<std::size_t>(line, pick / 8 % 3);
        break;
      case 4:
        FUZZ_REQUIRE(lines.Count() == count);
        break;
      default: {
        const std::size_t from = bytes.empty() ? 0 : pick / 8 % bytes.size();
        const std::size_t to = from + (bytes.size() - from) / 2;
        FUZZ_REQUIRE(CountLineEnds(bytes.data(), from, to) == NaiveLineEnds(bytes, from, to));
        break;
      }
    }
  }
  FUZZ_REQUIRE(!lines.Has(std::uint64_t{1} << 40));

  // The key block read from the end gives what the reader finds from the start.
  std::vector<std::string_view> keyLines;
  FindKeyBlockLines(bytes, keyLines);
  for (const std::string_view key : {kAFiles, kAPars, kAMark, std::string_view("a")}) {
    std::optional<std::string_view> value;
    for (auto it = keyLines.rbegin(); it != keyLines.rend() && !value; ++it) {
      value = keyblock::ValueIfKey(*it, key);
    }
    FUZZ_REQUIRE(value == text.FindKey(key));
  }
}

std::size_t NaiveFind(std::string_view text, std::size_t from, std::size_t to,
                      std::string_view term, const UpperTable& fold) {
  for (std::size_t p = from; p + term.size() <= to; ++p) {
    std::size_t k = 0;
    while (k < term.size() &&
           fold[static_cast<unsigned char>(text[p + k])] == static_cast<unsigned char>(term[k])) {
      ++k;
    }
    if (k == term.size()) return p;
  }
  return to;
}

void CheckTextSearcher(std::string_view typed, std::string_view bytes) {
  const UpperTable upper = PosixTextServices().BuildUpperTable();
  UpperTable crowded = upper;  // three bytes fold to 'A': too many for the block compare
  crowded['B'] = crowded['b'] = 'A';
  // Pairs that differ in more than one bit: the block compare tests both bytes.
  UpperTable paired = IdentityTable();
  paired[0x80] = 'A';
  paired['5'] = '.';
  for (const UpperTable* fold :
       {&IdentityTable(), &upper, &std::as_const(crowded), &std::as_const(paired)}) {
    std::string term(typed);
    for (char& c : term) c = static_cast<char>((*fold)[static_cast<unsigned char>(c)]);
    const TextSearcher searcher(term, *fold);
    const std::size_t n = bytes.size();
    for (const auto& [from, to] : {std::pair{std::size_t{0}, n}, std::pair{n / 3, n - n / 5}}) {
      const std::size_t hit = NaiveFind(bytes, from, to, term, *fold);
      FUZZ_REQUIRE(searcher.Find(bytes.data(), from, to) == hit);
      std::size_t lineEnds = 0;
      FUZZ_REQUIRE(searcher.FindCountingLines(bytes.data(), from, to, lineEnds) == hit);
      FUZZ_REQUIRE(lineEnds == NaiveLineEnds(bytes, from, hit));
    }
  }
}

// The first place from which some run of bytes folds to the folded term: the
// plainest reading of a search by case folding. Slow: short texts only.
std::size_t PlainFoldedFind(std::string_view text, std::size_t from, std::size_t to, std::string_view term) {
  const std::string wanted = casefold::Fold(term);
  if (wanted.empty()) return from;
  for (std::size_t p = from; p < to; ++p) {
    for (std::size_t end = p + 1; end <= to && end - p <= 4 * wanted.size(); ++end) {
      if (casefold::Fold(text.substr(p, end - p)) == wanted) return p;
    }
  }
  return to;
}

void CheckFoldedTextSearcher(std::string_view typed, std::string_view bytes) {
  if (typed.size() > 16) return;
  bytes = bytes.substr(0, 512);
  FoldedTextSearcher searcher;
  searcher.Reset(typed);
  const std::size_t n = bytes.size();
  for (const auto& [from, to] : {std::pair{std::size_t{0}, n}, std::pair{n / 3, n - n / 5}}) {
    const std::size_t hit = utf8::IsValid(typed) ? PlainFoldedFind(bytes, from, to, typed) : to;
    FUZZ_REQUIRE(searcher.Find(bytes.data(), from, to) == hit);
    std::size_t lineEnds = 0;
    FUZZ_REQUIRE(searcher.FindCountingLines(bytes.data(), from, to, lineEnds) == hit);
    FUZZ_REQUIRE(lineEnds == NaiveLineEnds(bytes, from, hit));
  }
}

}  // namespace
}  // namespace discovel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace discovel;
  using namespace discovel::fuzz;
  FuzzInput input(data, size);
  const std::string options(input.Line());
  const auto has = [&](char c) { return options.find(c) != std::string::npos; };
  const std::string numbers(input.Line());
  char* next = nullptr;
  SearchSetup setup;
  AdvancedCriteria& a = setup.advanced;
  a.dates.low = static_cast<std::int32_t>(std::strtoll(numbers.c_str(), &next, 10));
  a.dates.high = static_cast<std::int32_t>(std::strtoll(next, &next, 10));
  a.sizeThreshold = std::strtoll(next, &next, 10);
  const auto modeBits = static_cast<std::uint32_t>(std::strtoull(next, &next, 10));
  setup.advancedMode = has('a');
  a.caseSensitive = has('c');
  a.marks = has('m');
  a.directories = !has('D');
  a.fileNames = !has('N');
  a.fileTypes = !has('T');
  a.byDate = has('d');
  a.bySize = has('s');
  a.sizeAtMost = has('l');
  setup.typed = input.Line();
  setup.restriction = input.Line();

  MemoryFileSystem fs;
  for (FuzzFile& file : SplitFiles(input.Rest())) {
    CheckLineLocator(file.bytes);
    CheckLineLocator(std::string_view(file.bytes).substr(file.bytes.size() / 2));
    CheckTextSearcher(SearchTermOf(setup.typed), file.bytes);
    CheckFoldedTextSearcher(SearchTermOf(setup.typed), file.bytes);
    fs.Put(PathUnder(kCatalog, file.name), std::move(file.bytes));
  }
  std::vector<std::string> archives;
  WalkCatalog(fs, kCatalog, "*.dat", [&](const std::string& path) { archives.push_back(path); });

  const FuzzText text(!has('u'), has('x'));
  FuzzCriteria criteria(setup);
  criteria.switching = has('f');
  criteria.modeBits = modeBits;
  NoPump pump;
  CountingObserver observer;
  SearchEngine engine(fs, text, pump, observer);
  SearchResults results;
  FUZZ_REQUIRE(engine.Run(kCatalog, "*.dat", criteria.Request(), criteria.Mode(), results));

  std::vector<std::string> rows;
  std::size_t incomplete = 0;
  for (std::size_t row = 0; row < results.RowCount(); ++row) {
    const int filled = results.FilledColumns(row);
    FUZZ_REQUIRE(filled >= 4);
    if (filled < kFoundColumnCount) ++incomplete;
    const std::string_view name = results.Cell(row, FoundColumn::kFile);
    FUZZ_REQUIRE(results.Cell(row, FoundColumn::kType) == ExtensionOf(name));
    rows.push_back(std::string(results.Cell(row, FoundColumn::kArchive)) + "|" +
                   std::string(results.Cell(row, FoundColumn::kDirectory)) + "|" +
                   std::string(name));
  }
  FUZZ_REQUIRE(observer.incomplete == incomplete);
  if (!criteria.switching) {
    const ExpectedSearch expected = ExpectedSearchOf(fs, text, setup, archives);
    FUZZ_REQUIRE(observer.failures == expected.failures);
    FUZZ_REQUIRE(rows == expected.rows);
  }
  return 0;
}
