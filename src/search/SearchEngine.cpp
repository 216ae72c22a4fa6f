#include "search/SearchEngine.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>

#include "catalog/ArchiveEntries.h"
#include "catalog/ArchiveKeyWalk.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/DosTime.h"
#include "catalog/NumberFormat.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"
#include "search/KeyBlockValues.h"
#include "search/ReadAhead.h"
#include "text/CaseFold.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

constexpr std::int32_t kPumpEveryEntries = 300;

// A count or stride key: its 64-bit value's low 32 bits, or nullopt when empty.
std::optional<std::int32_t> NumberKey(std::string_view value, std::string_view key,
                                      const std::string& path) {
  const std::string_view trimmed = TrimBlanksAndControls(value);
  if (trimmed.empty()) return std::nullopt;
  const auto number = ParseInt64(trimmed);
  if (!number) {
    throw ConvertError("The " + std::string(key) + " value \"" + std::string(trimmed) +
                       "\" of archive \"" + path + "\" is not a number.");
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(*number));
}

constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);

bool Contains(std::string_view text, char c) {
  return text.find(c) != std::string_view::npos;
}

}  // namespace

SearchEngine::SearchEngine(FileSystem& fs, const TextServices& text, UiPump& pump,
                           SearchObserver& observer)
    : m_fs(fs), m_text(text), m_decoder(text), m_pump(pump), m_observer(observer) {}

bool SearchEngine::Run(std::string_view folder, const std::string& mask, const SearchRequest& request,
                       const AdvancedModeQuestion& advancedMode, SearchResults& results) {
  m_abort = false;
  m_request = &request;
  m_advancedMode = &advancedMode;
  m_resultsFull = false;
  m_results = &results;
  m_mask = mask;
  m_singleByte = m_text.IsSingleByteCodePage();
  m_upper = m_singleByte ? m_text.BuildUpperTable() : IdentityTable();
  m_formats = CellFormats::Of(m_text);
  m_pump.Pump();
  const std::string root = IncludeTrailingBackslash(folder);
  if (!FindArchivesOfOtherMarks(root, mask, request.restriction)) return false;
  m_trail.emplace(m_fs, root);
  // The reading thread lives as long as the search.
  ReadAhead readAhead;
  struct Restore {
    ReadAhead*& current;
    ReadAhead* previous;
    ~Restore() { current = previous; }
  } restore{m_readAhead, m_readAhead};
  m_readAhead = &readAhead;
  try {
    return SearchFolder(root);
  } catch (const ResultsFull&) {
    m_resultsFull = true;
    return false;
  }
}

bool SearchEngine::FindArchivesOfOtherMarks(const std::string& root, const std::string& mask,
                                            const std::string& restriction) {
  m_otherMarks.clear();
  if (restriction.empty()) return true;
  // The summary of the key blocks knows most marks; an archive it cannot
  // speak for is read for its mark alone, an unreadable one is left to the
  // search to report.
  const auto onArchive = [&](const std::string& path, const ArchiveKeyValues& keys) {
    if (MarkAsListed(keys.mark) != restriction) m_otherMarks.insert(path);
  };
  const WalkPacing pacing{m_pump, [this] { return m_abort; }};
  return WalkArchiveKeys(m_fs, m_text, root, mask, {onArchive, [](const std::string&, const AppError&) {}}, &pacing);
}

bool SearchEngine::SearchFolder(const std::string& folder) {
  // Archives first; the abort flag is not looked at in this pass. The folder is
  // listed first so that the next archive can be read while one is searched.
  struct Listed {
    std::string path;
    bool isArchive;
  };
  std::vector<Listed> listed;
  m_fs.ListFolder(folder, m_mask, [&](const DirEntry& entry) {
    std::string path = folder + entry.name;
    // An archive of another mark than the search is restricted to is passed
    // unopened: it could give no row.
    if (entry.isFolder || !m_otherMarks.count(path)) {
      listed.push_back(Listed{std::move(path), !entry.isFolder});
    } else {
      m_observer.ArchiveSearched();
    }
    return true;
  });
  std::size_t toOpen = 0;  // the next archive to hand to the reading thread
  const auto openNext = [&] {
    while (toOpen < listed.size() && !listed[toOpen].isArchive) ++toOpen;
    if (toOpen == listed.size()) return;
    try {
      m_readAhead->Add(m_fs.OpenForBlocks(listed[toOpen].path));
    } catch (...) {
      m_readAhead->AddFailure(std::current_exception());
    }
    ++toOpen;
  };
  openNext();
  for (const Listed& entry : listed) {
    if (entry.isArchive) {
      std::string_view bytes;
      std::exception_ptr unread;
      try {
        bytes = m_readAhead->Take();
      } catch (...) {
        unread = std::current_exception();
      }
      openNext();
      // One damaged archive must not hide the ones after it.
      try {
        if (unread) std::rethrow_exception(unread);
        SearchArchive(entry.path, bytes);
      } catch (const AppError& e) {
        m_observer.ArchiveFailed(e.what());
      } catch (const std::bad_alloc&) {
        m_observer.ArchiveFailed("Archive \"" + entry.path +
                                 "\" is too large to be read into memory.");
      }
      m_observer.ArchiveSearched();
    }
    m_pump.Pump();
  }
  bool goOn = !m_abort && !m_pump.Terminated();
  if (!goOn) return false;
  m_pump.Pump();
  m_fs.ListFolder(folder, "*.*", [&](const DirEntry& entry) {
    if (entry.isFolder) {
      const std::string subfolder = folder + entry.name + '\\';
      goOn = m_trail->Enter(subfolder, entry.fileNumber, [&] { return SearchFolder(subfolder); });
    }
    return goOn;
  });
  return goOn;
}

void SearchEngine::SearchArchive(const std::string& path, std::string_view bytes) {
  if (bytes.size() >= UINT32_MAX) throw AppError("An archive file of 4 GiB or more cannot be read.");
  m_bytes = bytes;
  m_lines.Reset(bytes);
  m_entryKnown = false;
  FindKeyBlockLines(bytes, m_keyLines);
  const auto readKey = [&](std::string_view key) { return KeyValueOf(m_keyLines, key).value_or(std::string_view()); };
  m_utf8 = EncodingOfArchive(m_keyLines, path) == ArchiveEncoding::Utf8;

  const std::int32_t stride = NumberKey(readKey(kAPars), kAPars, path)
                                  .value_or(static_cast<std::int32_t>(kDefaultEntryStride));
  const auto count = NumberKey(readKey(kAFiles), kAFiles, path);
  if (!count) return;
  m_markBytes.assign(MarkAsListed(readKey(kAMark)));
  if (m_utf8) {
    m_mark = m_markBytes;
  } else {
    m_mark.clear();
    m_decoder.Append(m_markBytes, m_mark);
  }

  m_advanced = m_request->advanced;
  const std::string& restriction = m_request->restriction;
  m_canMatch = restriction.empty() || m_mark == restriction;
  // The letter case of the term follows the mode at the moment the archive opens.
  const std::string typed = m_request->text ? SearchTermOf(m_request->text()) : std::string();
  const bool ignoreCase = !((*m_advancedMode)() && m_advanced.caseSensitive);
  if (m_utf8) {
    // Text that is no UTF-8 names nothing an archive can hold.
    m_canMatch = m_canMatch && utf8::IsValid(typed);
    m_term = ignoreCase ? casefold::Fold(typed) : typed;
  } else if (const std::optional<std::string> bytes = m_text.ToCodePageExactly(typed)) {
    m_term = *bytes;
    if (ignoreCase && m_singleByte) {
      for (char& c : m_term) c = static_cast<char>(m_upper[static_cast<unsigned char>(c)]);
    } else if (ignoreCase) {
      m_term = m_text.AnsiToUpper(m_term);
    }
  } else {
    // A character the code page lacks is in none of its archives' names.
    m_term.clear();
    m_canMatch = false;
  }
  m_upperHay.ready = false;
  m_exactHay.ready = false;
  // Nothing can match: the entries are only counted, in one go.
  if (!m_canMatch) m_lines.Count();
  // Every entry matches, or is matched against its lines: reading them is
  // what tells whether they are there.
  const bool readsEveryEntry = m_canMatch && m_term.empty();

  for (std::int32_t i = 0; i < *count; ++i) {
    // A stride of 0 would read the first entry again and again, without end.
    if (stride == 0) {
      throw AppError("Archive \"" + path +
                     "\" is damaged: its APars key gives its entries 0 lines each.");
    }
    const std::int64_t base = static_cast<std::int64_t>(i) * stride;
    const auto line = static_cast<std::uint64_t>(base);
    if (base < 0 || !(readsEveryEntry ? LoadEntry(line) : m_lines.Has(line + 3))) {
      throw AppError(EntryPastEndText(path, static_cast<std::int64_t>(i)));
    }
    const auto at = static_cast<std::size_t>(base);
    const bool advanced = (*m_advancedMode)();
    // A selective search decides most entries by this one compare: the next
    // hit still lies beyond the entry's name line. In advanced mode that holds
    // when letter case is ignored and the mark does not hold the term.
    const Haystack& hay = m_upperHay;
    const bool surelyNot = hay.ready && hay.direct && hay.searched && hay.hitLine > at + 1 &&
                           (!advanced || (!m_advanced.caseSensitive && !hay.termInMark));
    if (!surelyNot && Matches(at, advanced)) AddRow(path, i, at);
    if (m_abort) break;
    if (i % kPumpEveryEntries == 0) m_pump.Pump();
    if (!PassQuietEntries(path, stride, *count, i)) return;
  }
}

bool SearchEngine::PassQuietEntries(const std::string& path, std::int32_t stride,
                                    std::int32_t count, std::int32_t& i) {
  const std::int32_t quietEnd = QuietUntil(i + 1, stride, count);
  // In advanced mode no entry here matches either when letter case is
  // ignored and the mark does not hold the term.
  const bool advancedToo =
      !m_canMatch || (!m_advanced.caseSensitive && !m_upperHay.termInMark);
  while (i + 1 < quietEnd) {
    // Up to the next entry that pumps, and no further.
    const std::int64_t next = i + 1;
    const std::int64_t pumpAt =
        (next + kPumpEveryEntries - 1) / kPumpEveryEntries * kPumpEveryEntries;
    const auto stop = static_cast<std::int32_t>(std::min<std::int64_t>(quietEnd, pumpAt + 1));
    for (i = static_cast<std::int32_t>(next); i < stop; ++i) {
      if ((*m_advancedMode)() && !advancedToo) {
        const std::size_t at = static_cast<std::size_t>(i) * static_cast<std::size_t>(stride);
        if (Matches(at, true)) AddRow(path, i, at);
      }
      if (m_abort) return false;
    }
    --i;  // the last entry done
    if (i % kPumpEveryEntries == 0) m_pump.Pump();
  }
  return true;
}

std::int32_t SearchEngine::QuietUntil(std::int32_t next, std::int32_t stride,
                                      std::int32_t count) const {
  // Entries whose four lines are known to exist...
  const std::size_t known = m_lines.KnownLines();
  if (stride <= 0 || known < 4) return next;
  std::size_t lastBase = known - 4;
  if (m_canMatch) {
    // ...and, where any could match, that lie wholly before the next hit.
    const Haystack& hay = m_upperHay;
    if (m_term.empty() || !hay.ready || !hay.direct || !hay.searched) return next;
    if (hay.hitLine != kNoLine) {
      if (hay.hitLine < 2) return next;
      lastBase = std::min(lastBase, hay.hitLine - 2);
    }
  }
  const std::size_t end = lastBase / static_cast<std::size_t>(stride) + 1;
  return end < static_cast<std::size_t>(count) ? std::max(next, static_cast<std::int32_t>(end))
                                               : count;
}

SearchEngine::Haystack& SearchEngine::HaystackFor(bool upper) {
  Haystack& hay = upper ? m_upperHay : m_exactHay;
  if (hay.ready) return hay;
  hay.ready = true;
  hay.data = m_bytes.data();
  hay.mark = m_markBytes;
  hay.separator = kFieldSeparator;
  hay.foldEachEntry = false;
  hay.byFolding = upper && m_utf8;
  hay.searched = false;
  if (hay.byFolding) {
    // No UTF-8 character holds a line end or the separator, which is no UTF-8.
    hay.foldedSearcher.Reset(m_term);
    hay.direct = !Contains(m_term, '\r') && !Contains(m_term, '\n');
    hay.termInMark =
        hay.direct && m_advanced.marks && hay.Find(hay.mark.data(), 0, hay.mark.size()) < hay.mark.size();
    return hay;
  }
  const UpperTable* fold = &IdentityTable();
  if (upper && m_singleByte) {
    fold = &m_upper;
  } else if (upper) {
    // Without a byte table the archive is upper-cased whole, once, and searched as is.
    m_foldedBytes = m_text.AnsiToUpper(m_bytes);
    hay.data = m_foldedBytes.data();
    hay.mark = m_text.AnsiToUpper(m_markBytes);
    const std::string separator = m_text.AnsiToUpper(std::string_view(&kFieldSeparator, 1));
    hay.separator = separator.size() == 1 ? separator[0] : kFieldSeparator;
    // Line positions would not carry over; slow but right.
    hay.foldEachEntry = m_foldedBytes.size() != m_bytes.size();
    if (hay.foldEachEntry) hay.data = m_bytes.data();
  }
  hay.searcher.Reset(m_term, *fold);
  const auto folded = [fold](char c) {
    return static_cast<char>((*fold)[static_cast<unsigned char>(c)]);
  };
  hay.direct = !hay.foldEachEntry && !Contains(m_term, folded('\r')) &&
               !Contains(m_term, folded('\n')) && !Contains(m_term, folded(hay.separator));
  hay.termInMark = hay.direct && m_advanced.marks &&
                   hay.searcher.Find(hay.mark.data(), 0, hay.mark.size()) < hay.mark.size();
  hay.searched = false;
  return hay;
}

bool SearchEngine::TermFound(Haystack& hay, std::size_t base, bool advanced) {
  if (hay.direct) {
    // Entries come in file order: the first hit from an earlier entry's start
    // on is still the first from this one's, unless it lies before this entry.
    if (!hay.searched || hay.hitLine < base) {
      const std::size_t size = m_bytes.size();
      const std::size_t from = m_lines.Begin(base);
      hay.searched = true;
      if (hay.data == m_bytes.data()) {
        // The line ends on the way to the hit are counted in the same pass.
        std::size_t lineEnds = 0;
        const std::size_t hit = hay.FindCountingLines(hay.data, from, size, lineEnds);
        hay.hitLine = hit < size ? m_lines.LineAt(hit, base, lineEnds) : kNoLine;
        if (hit == size) m_lines.LinesEndAfter(base, lineEnds);
      } else {
        const std::size_t hit = hay.Find(hay.data, from, size);
        hay.hitLine = hit < size ? m_lines.LineAt(hit) : kNoLine;
        // No more hits: what is left to know of the lines is how many there are.
        if (hit == size) m_lines.Count();
      }
    }
    // The folder line and the name line of an entry are its lines base and
    // base + 1, and no hit reaches over a line end.
    const bool hitInEntry = hay.hitLine <= base + 1;
    if (!advanced) return hitInEntry;
    // The match text's fields come from the mark and those two lines, and no
    // hit reaches over a separator: elsewhere, there is none.
    if (!hitInEntry && !hay.termInMark) return false;
  }
  const LineLocator::Span* lines = EntryLines(base);
  const LineLocator::Span& folder = lines[0];
  const LineLocator::Span& name = lines[1];

  m_match.clear();
  const auto field = [&](std::size_t begin, std::size_t end) {
    m_match.append(hay.data + begin, end - begin);
    m_match += hay.separator;
  };
  if (!advanced) {
    field(folder.begin, folder.end);
    field(name.begin, name.end);
  } else {
    if (m_advanced.marks) {
      m_match += hay.mark;
      m_match += hay.separator;
    }
    if (m_advanced.directories) field(folder.begin, folder.end);
    const std::size_t dot = Text(name).rfind('.');
    const std::size_t stemEnd = dot == std::string_view::npos ? name.end : name.begin + dot;
    if (m_advanced.fileNames) field(name.begin, stemEnd);
    if (m_advanced.fileTypes) field(stemEnd, name.end);
  }
  if (hay.foldEachEntry) m_match = m_text.AnsiToUpper(m_match);
  return hay.Find(m_match.data(), 0, m_match.size()) < m_match.size();
}

bool SearchEngine::Matches(std::size_t base, bool advanced) {
  if (!m_canMatch) return false;
  if (!m_term.empty()) {
    const bool upper = !(advanced && m_advanced.caseSensitive);
    if (!TermFound(HaystackFor(upper), base, advanced)) return false;
  }
  if (!advanced) return true;
  const LineLocator::Span* lines = EntryLines(base);
  if (m_advanced.byDate && !DateInRange(Text(lines[3]), m_advanced.dates)) return false;
  return !m_advanced.bySize ||
         SizeMatches(Text(lines[2]), m_advanced.sizeAtMost, m_advanced.sizeThreshold);
}

bool SearchEngine::LoadEntry(std::uint64_t base) {
  if (m_entryKnown && m_entryBase == base) return true;
  // No line starts past the bytes, so a larger number is no line.
  if (base >= m_bytes.size() || !m_lines.Lines(static_cast<std::size_t>(base), 4, m_entry)) {
    return false;
  }
  m_entryBase = static_cast<std::size_t>(base);
  m_entryKnown = true;
  return true;
}

const LineLocator::Span* SearchEngine::EntryLines(std::size_t base) {
  LoadEntry(base);
  return m_entry;
}

void SearchEngine::AddRow(const std::string& path, std::int32_t index, std::size_t base) {
  const LineLocator::Span* lines = EntryLines(base);
  FoundEntry entry{m_mark, Text(lines[0]), Text(lines[1])};
  if (!m_utf8) {
    entry.namesInCodePage = true;
    entry.directory = m_decoder.Decoded(entry.directory, m_decodedFolder);
    entry.file = m_decoder.Decoded(entry.file, m_decodedName);
  }
  entry.size = ParseInt64(Text(lines[2]));
  if (const auto time = ParseInt64(Text(lines[3]))) {
    entry.dosTime = static_cast<std::int32_t>(static_cast<std::uint32_t>(*time));
  }
  // The columns stop at the first that cannot be filled; the row stays as it is.
  if (!m_results->AddRow(entry, m_formats)) m_observer.RowIncomplete(IncompleteEntryText(path, index));
}

}  // namespace discovel
