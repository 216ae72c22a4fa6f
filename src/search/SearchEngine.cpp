#include "search/SearchEngine.h"

#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "catalog/ArchiveKeys.h"
#include "catalog/DosTime.h"
#include "catalog/KeyBlock.h"
#include "catalog/NumberFormat.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"

namespace discovel {
namespace {

constexpr std::int32_t kPumpEveryEntries = 300;
constexpr std::string_view kUnknownMark = "Unknown";

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

bool Contains(std::string_view text, char c) {
  return text.find(c) != std::string_view::npos;
}

}  // namespace

SearchEngine::SearchEngine(FileSystem& fs, const TextServices& text, UiPump& pump,
                           const SearchCriteriaSource& criteria, SearchObserver& observer)
    : m_fs(fs), m_text(text), m_pump(pump), m_criteria(criteria), m_observer(observer) {}

bool SearchEngine::Run(std::string_view folder, const std::string& mask,
                       SearchResults& results) {
  m_abort = false;
  m_resultsFull = false;
  m_results = &results;
  m_mask = mask;
  m_singleByte = m_text.IsSingleByteCodePage();
  m_upper = m_singleByte ? m_text.BuildUpperTable() : IdentityTable();
  m_thousands = m_text.ThousandsSeparator();
  m_dateSep = m_text.DateSeparator();
  m_timeSep = m_text.TimeSeparator();
  m_pump.Pump();
  const std::string root = IncludeTrailingBackslash(folder);
  m_trail.emplace(m_fs, root);
  try {
    return SearchFolder(root);
  } catch (const ResultsFull&) {
    m_resultsFull = true;
    return false;
  }
}

bool SearchEngine::SearchFolder(const std::string& folder) {
  // Archives first; the abort flag is not looked at in this pass.
  m_fs.ListFolder(folder, m_mask, [&](const DirEntry& entry) {
    if (!entry.isFolder) {
      const std::string path = folder + entry.name;
      // One damaged archive must not hide the ones after it.
      try {
        AddFile(path);
      } catch (const AppError& e) {
        m_observer.ArchiveFailed(e.what());
      } catch (const std::bad_alloc&) {
        m_observer.ArchiveFailed("Archive \"" + path + "\" is too large to be read into memory.");
      }
      m_observer.ArchiveSearched();
    }
    m_pump.Pump();
    return true;
  });
  bool goOn = !m_abort && !m_pump.Terminated();
  if (!goOn) return false;
  m_pump.Pump();
  m_fs.ListFolder(folder, "*.*", [&](const DirEntry& entry) {
    if (entry.isFolder) {
      const std::string subfolder = folder + entry.name + '\\';
      goOn = m_trail->Enter(subfolder, [&] { return SearchFolder(subfolder); });
    }
    return goOn;
  });
  return goOn;
}

void SearchEngine::Load(const std::string& path) {
  // Into one buffer kept from archive to archive: no allocation, no clearing.
  const auto reader = m_fs.OpenForBlocks(path);
  std::size_t length = 0;
  for (;;) {
    if (length == m_capacity) {
      const std::size_t capacity = m_capacity == 0 ? std::size_t{1} << 20 : m_capacity * 2;
      auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
      if (length != 0) std::memcpy(buffer.get(), m_buffer.get(), length);
      m_buffer = std::move(buffer);
      m_capacity = capacity;
    }
    const std::size_t got = reader->Read(m_buffer.get() + length, m_capacity - length);
    if (got == 0) break;
    length += got;
  }
  m_bytes = std::string_view(m_buffer.get(), length);
}

void SearchEngine::AddFile(const std::string& path) {
  Load(path);
  m_lines.Build(m_bytes);
  const std::size_t lineCount = m_lines.Count();
  const auto keys = keyblock::Find(lineCount, [this](std::size_t i) { return m_lines.Text(i); });
  const auto readKey = [&](std::string_view key) {
    for (std::size_t i = keys.begin; i < keys.end; ++i) {
      if (auto value = keyblock::ValueIfKey(m_lines.Text(i), key)) return *value;
    }
    return std::string_view();
  };

  const std::int32_t stride = NumberKey(readKey(kAPars), kAPars, path)
                                  .value_or(static_cast<std::int32_t>(kDefaultEntryStride));
  const auto count = NumberKey(readKey(kAFiles), kAFiles, path);
  if (!count) return;
  const std::string_view mark = TrimBlanksAndControls(readKey(kAMark));
  m_mark.assign(mark.empty() ? kUnknownMark : mark);

  m_advanced = m_criteria.Advanced();
  const std::string restriction = m_criteria.Restriction();
  m_markAllowed = restriction.empty() || m_mark == restriction;
  // The letter case of the term follows the mode at the moment the archive opens.
  m_term = SearchTermOf(m_criteria.SearchText());
  if (!(m_criteria.AdvancedMode() && m_advanced.caseSensitive)) {
    if (m_singleByte) {
      for (char& c : m_term) c = static_cast<char>(m_upper[static_cast<unsigned char>(c)]);
    } else {
      m_term = m_text.ToUpper(m_term);
    }
  }
  m_upperHay.ready = false;
  m_exactHay.ready = false;

  for (std::int32_t i = 0; i < *count; ++i) {
    // A stride of 0 would read the first entry again and again, without end.
    if (stride == 0) {
      throw AppError("Archive \"" + path +
                     "\" is damaged: its APars key gives its entries 0 lines each.");
    }
    const std::int64_t base = static_cast<std::int64_t>(i) * stride;
    if (base < 0 || static_cast<std::uint64_t>(base) + 3 >= lineCount) {
      throw AppError("Archive \"" + path + "\" ends before the lines of its entry " +
                     std::to_string(i) + ".");
    }
    const auto at = static_cast<std::size_t>(base);
    const bool advanced = m_criteria.AdvancedMode();
    // A selective simple search decides most entries by this one compare:
    // the next hit still lies beyond the entry's name line.
    const Haystack& hay = m_upperHay;
    const bool surelyNot = !advanced && hay.ready && hay.direct && at >= hay.hitLine &&
                           hay.nextHit >= m_lines.End(at + 1);
    if (!surelyNot && Matches(at, advanced)) AddRow(path, i, at);
    if (m_abort) break;
    if (i % kPumpEveryEntries == 0) m_pump.Pump();
  }
}

SearchEngine::Haystack& SearchEngine::HaystackFor(bool upper) {
  Haystack& hay = upper ? m_upperHay : m_exactHay;
  if (hay.ready) return hay;
  hay.ready = true;
  hay.data = m_bytes.data();
  hay.mark = m_mark;
  hay.separator = kFieldSeparator;
  hay.foldEachEntry = false;
  const UpperTable* fold = &IdentityTable();
  if (upper && m_singleByte) {
    fold = &m_upper;
  } else if (upper) {
    // Without a byte table the archive is upper-cased whole, once, and searched as is.
    m_foldedBytes = m_text.ToUpper(m_bytes);
    hay.data = m_foldedBytes.data();
    hay.mark = m_text.ToUpper(m_mark);
    const std::string separator = m_text.ToUpper(std::string_view(&kFieldSeparator, 1));
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
  // Nothing searched yet: the first entry searches.
  hay.hitLine = static_cast<std::size_t>(-1);
  hay.nextHit = 0;
  return hay;
}

bool SearchEngine::TermFound(Haystack& hay, std::size_t base, bool advanced) {
  if (!advanced && hay.direct) {
    // The folder line and the name line stand next to each other in the file,
    // and no hit can reach over a line end: a hit between them is a match.
    // nextHit is the first hit from the start of line hitLine on; entries come
    // in file order, so it mostly still lies ahead (see AddFile).
    const std::size_t nameEnd = m_lines.End(base + 1);
    const std::size_t folderBegin = m_lines.Begin(base);
    if (base < hay.hitLine || hay.nextHit < folderBegin) {
      hay.hitLine = base;
      hay.nextHit = hay.searcher.Find(hay.data, folderBegin, m_bytes.size());
    }
    return hay.nextHit < nameEnd;
  }
  const std::size_t folderBegin = m_lines.Begin(base);
  const std::size_t folderEnd = m_lines.End(base);
  const std::size_t nameBegin = m_lines.Begin(base + 1);
  const std::size_t nameEnd = m_lines.End(base + 1);

  m_match.clear();
  const auto field = [&](std::size_t begin, std::size_t end) {
    m_match.append(hay.data + begin, end - begin);
    m_match += hay.separator;
  };
  if (!advanced) {
    field(folderBegin, folderEnd);
    field(nameBegin, nameEnd);
  } else {
    if (m_advanced.marks) {
      m_match += hay.mark;
      m_match += hay.separator;
    }
    if (m_advanced.directories) field(folderBegin, folderEnd);
    const std::size_t dot = m_lines.Text(base + 1).rfind('.');
    const std::size_t stemEnd = dot == std::string_view::npos ? nameEnd : nameBegin + dot;
    if (m_advanced.fileNames) field(nameBegin, stemEnd);
    if (m_advanced.fileTypes) field(stemEnd, nameEnd);
  }
  if (hay.foldEachEntry) m_match = m_text.ToUpper(m_match);
  return hay.searcher.Find(m_match.data(), 0, m_match.size()) < m_match.size();
}

bool SearchEngine::Matches(std::size_t base, bool advanced) {
  if (!m_markAllowed) return false;
  if (!m_term.empty()) {
    const bool upper = !(advanced && m_advanced.caseSensitive);
    if (!TermFound(HaystackFor(upper), base, advanced)) return false;
  }
  if (!advanced) return true;
  if (m_advanced.byDate && !DateInRange(m_lines.Text(base + 3), m_advanced.dates)) return false;
  return !m_advanced.bySize ||
         SizeMatches(m_lines.Text(base + 2), m_advanced.sizeAtMost, m_advanced.sizeThreshold);
}

void SearchEngine::AddRow(const std::string& path, std::int32_t index, std::size_t base) {
  SearchResults& results = *m_results;
  const std::string_view name = m_lines.Text(base + 1);
  results.BeginRow(m_mark);
  results.AppendCell(m_lines.Text(base));
  results.AppendCell(name);
  results.AppendCell(ExtensionOf(name));
  // The columns stop at the first that cannot be filled; the row stays as it is.
  const auto report = [&] { m_observer.RowIncomplete(path + " " + std::to_string(index)); };
  const auto time = ParseInt64(m_lines.Text(base + 3));
  const auto moment =
      time ? UnpackDosDateTime(static_cast<std::int32_t>(static_cast<std::uint32_t>(*time)))
           : std::nullopt;
  if (!moment) return report();
  results.AppendCell(FormatDisplayDateTime(*moment, m_dateSep, m_timeSep));
  const auto size = ParseInt64(m_lines.Text(base + 2));
  if (!size) return report();
  results.AppendCell(FormatCount(*size, m_thousands));
}

}  // namespace discovel
