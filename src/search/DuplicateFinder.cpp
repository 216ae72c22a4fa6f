#include "search/DuplicateFinder.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <tuple>

#include "catalog/ArchiveEntries.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/ArchiveKeyWalk.h"
#include "catalog/CatalogQueries.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"
#include "search/DuplicateRecords.h"
#include "search/KeyBlockValues.h"
#include "search/LineLocator.h"
#include "search/SharedReadPass.h"
#include "search/Sse2.h"
#include "search/TextArena.h"

namespace discovel {
namespace {

constexpr std::int32_t kPumpEveryEntries = 300;
constexpr std::size_t kPumpEveryBuckets = 4;
constexpr std::size_t kPumpEveryGroups = 4096;

// Unwinds a run that was aborted or whose application is ending.
struct Stopped {};

std::optional<std::int64_t> NumberOf(std::string_view text) {
  return ParseInt64(TrimBlanksAndControls(text));
}

// A file has no size below 0: such a line adds nothing to a sum.
std::uint64_t SizeCounted(std::int64_t size) { return size > 0 ? static_cast<std::uint64_t>(size) : 0; }

#if defined(DISCOVEL_HAVE_SSE2)
// One bit for each CR or LF among the 64 bytes at `at`.
DISCOVEL_SSE2 std::uint64_t LineEndBits(const char* at) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  std::uint64_t bits = 0;
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * k));
    const auto ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
    bits |= static_cast<std::uint64_t>(ends) << (16 * k);
  }
  return bits;
}
#endif

// Walks the entries of an archive from a line start on, line by line. CR, LF
// and CR LF each end a line; the final line end opens no extra line.
class EntryCursor {
 public:
  EntryCursor(std::string_view bytes, std::size_t at) : m_bytes(bytes), m_at(at) {}

  // The entry starting here, its four lines and where it starts, then past
  // `stride` lines (fewer at the end of the bytes); false when the four
  // lines are not all there.
  bool Next(std::size_t stride, std::size_t& start, std::string_view (&fields)[4]) {
    start = m_at;
    for (std::string_view& field : fields) {
      if (m_at >= m_bytes.size()) return false;
      const std::size_t begin = m_at;
      SkipLine();
      field = m_bytes.substr(begin, m_end - begin);
    }
    for (std::size_t k = 4; k < stride && m_at < m_bytes.size(); ++k) SkipLine();
    return true;
  }

 private:
  void SkipLine() {
    const char* data = m_bytes.data();
    const std::size_t n = m_bytes.size();
    std::size_t at = NextEnd(m_at);
    m_end = at;
    if (at < n) at += data[at] == '\r' && at + 1 < n && data[at + 1] == '\n' ? 2 : 1;
    m_at = at;
  }

  // The next CR or LF from `from` on, or the end of the bytes. The line ends
  // of 64 bytes are found at once, for the few lines they hold.
  std::size_t NextEnd(std::size_t from) {
    const std::size_t n = m_bytes.size();
    while (from < n) {
      const std::size_t window = from & ~std::size_t{63};
      if (window != m_window) {
        m_window = window;
        m_ends = EndsIn(window);
      }
      const std::uint64_t ends = m_ends >> (from - window);
      if (ends != 0) return from + static_cast<std::size_t>(__builtin_ctzll(ends));
      from = window + 64;
    }
    return n;
  }

  std::uint64_t EndsIn(std::size_t window) const {
    const char* data = m_bytes.data();
    const std::size_t n = m_bytes.size();
#if defined(DISCOVEL_HAVE_SSE2)
    if (m_sse2 && window + 64 <= n) return LineEndBits(data + window);
#endif
    std::uint64_t bits = 0;
    for (std::size_t i = window; i < n && i < window + 64; ++i) {
      if (data[i] == '\r' || data[i] == '\n') bits |= std::uint64_t{1} << (i - window);
    }
    return bits;
  }

  std::string_view m_bytes;
  std::size_t m_at;
  std::size_t m_end = 0;  // where the line skipped last ends
  std::size_t m_window = SIZE_MAX;  // the first of the 64 bytes m_ends tells of
  std::uint64_t m_ends = 0;
  bool m_sse2 = HasSse2();
};

// The four lines of the entry starting at `offset`: false when they are not
// all there.
bool EntryAt(std::string_view bytes, std::size_t offset, std::string_view (&fields)[4]) {
  std::size_t start = 0;
  return EntryCursor(bytes, offset).Next(4, start, fields);
}

// A text of an archive in `encoding` as UTF-8: itself, or in `scratch`.
std::string_view Utf8Text(const NameFolder& names, ArchiveEncoding encoding, std::string_view text,
                          std::string& scratch) {
  return encoding == ArchiveEncoding::Utf8 ? text : names.Decoded(text, scratch);
}

// The encoding the key block at the end of `bytes` names.
ArchiveEncoding EncodingAtEnd(std::string_view bytes, const std::string& path) {
  std::vector<std::string_view> keyLines;
  FindKeyBlockLines(bytes, keyLines);
  return EncodingOfArchive(keyLines, path);
}

}  // namespace

// A row before grouping, its texts kept in the run's TextArena.
struct DuplicateFinder::Keyed {
  std::uint64_t hash;
  std::string_view key;
  std::string_view directory;
  std::string_view file;
  std::int64_t size;
  std::int32_t dosTime;
  std::size_t archive;
};

// What the second read takes from one archive: its rows and their texts.
struct DuplicateFinder::ArchiveRows {
  std::vector<Keyed> rows;
  TextArena texts;
  std::string mark;
  ArchiveEncoding encoding = ArchiveEncoding::CodePage;
  std::string keyText;  // scratch
  std::string nameText;
  std::string folderText;
};

// What another archive tells in the one-disc mode: which of the chosen rows'
// keys it holds too.
struct DuplicateFinder::ArchiveMatches {
  std::vector<std::size_t> held;
  std::string mark;
  ArchiveEncoding encoding = ArchiveEncoding::CodePage;
  std::string keyText;  // scratch
  std::string nameText;
};

// An entry's hash for the run's criteria, its name in UTF-8: the key's text
// is built only for a hash function that needs it.
class DuplicateFinder::KeyHasher {
 public:
  KeyHasher(const DuplicateCriteria& criteria, const NameFolder& names, DuplicateHashFunction hash)
      : m_criteria(criteria), m_names(names), m_hash(hash) {}
  std::uint64_t operator()(std::string_view name, std::string_view size, std::string_view time) {
    if (m_hash == DuplicateKeyHash) return HashDuplicateKey(m_criteria, m_names, name, size, time, m_key);
    BuildDuplicateKey(m_criteria, m_names, name, size, time, m_key);
    return m_hash(m_key);
  }

 private:
  const DuplicateCriteria& m_criteria;
  const NameFolder& m_names;
  DuplicateHashFunction m_hash;
  std::string m_key;
};

DuplicateFinder::DuplicateFinder(FileSystem& fs, const TextServices& text, UiPump& pump,
                                 SearchObserver& observer, std::size_t budgetBytes,
                                 DuplicateHashFunction hash)
    : m_fs(fs), m_text(text), m_pump(pump), m_observer(observer), m_budget(budgetBytes),
      m_hash(hash) {}

bool DuplicateFinder::Run(std::string_view folder, const std::string& mask,
                          const DuplicateRequest& request) {
  if (!request.criteria.AnyChecked()) {
    throw AppError("Check at least one of \"Same name\", \"Same size\" and \"Same date\".");
  }
  if (request.mode == DuplicateMode::kOnThisDiscOnly && request.mark.empty()) {
    throw AppError("Choose one archive in \"Marks\" to list the files on that disc only.");
  }
  m_abort = false;
  m_resultsFull = false;
  m_charged = 0;
  m_groups.clear();
  m_rows.clear();
  m_archives.clear();
  m_texts.Clear();
  m_totals = DuplicateTotals{};
  m_pump.Pump();
  const std::string root = IncludeTrailingBackslash(folder);
  FolderTrail trail(m_fs, root);
  const NameFolder names(m_text);
  // One for each side of a read shared by threads.
  KeyHasher hashers[kReadPassSides] = {
      {request.criteria, names, m_hash}, {request.criteria, names, m_hash}, {request.criteria, names, m_hash}};
  // While the reads wait for a slow archive, the window stays alive and Cancel works.
  const auto pause = [this] { PumpAndCheck(); };
  try {
    if (request.mode == DuplicateMode::kOnThisDiscOnly) {
      FindOnChosenDiscs(root, mask, request, names, hashers);
      return true;
    }
    ListArchives(trail, root, mask);
    if (m_abort || m_pump.Terminated()) throw Stopped{};
    if (m_archives.size() >= DuplicateTally::kFree) throw ResultsFull();

    // The one full read, on two threads: a record per entry. A damaged
    // archive's records are passed over afterwards, so it is left out whole.
    std::vector<char> damaged(m_archives.size(), 0);
    std::vector<DuplicateRecord> wanted;
    {
      DuplicateRecords records;
      SharedReadPass<ArchiveRecords> pass;
      pass.Run(
          m_archives.size(), [&](std::size_t archive) { return m_fs.OpenForBlocks(m_archives[archive].path); },
          [&](std::size_t archive, std::string_view bytes, ArchiveRecords& result, int side) {
            result.records.clear();
            KeyHasher& hasher = hashers[side];
            ReadEntries(m_archives[archive].path, bytes, names, result.mark, result.encoding, side == 0,
                        [&](std::size_t offset, std::string_view name, std::string_view size,
                            std::string_view time, std::string_view) {
                          name = Utf8Text(names, result.encoding, name, result.nameText);
                          result.records.push_back(DuplicateRecord{hasher(name, size, time),
                                                                   static_cast<std::uint32_t>(archive),
                                                                   static_cast<std::uint32_t>(offset)});
                        });
          },
          [&](std::size_t archive, ArchiveRecords& result, std::exception_ptr error) {
            if (Failed(archive, error)) {
              damaged[archive] = 1;
            } else {
              m_archives[archive].mark = result.mark;
              m_archives[archive].encoding = result.encoding;
              Charge(result.records.size() * DuplicateRecords::kRecordBytes);
              for (const DuplicateRecord& record : result.records) records.Add(record);
            }
            m_observer.ArchiveSearched();
            PumpAndCheck();
          },
          pause);
      SelectWanted(records, damaged, request, wanted);
    }

    // Rows for just those entries, from the archives that hold them, in file order.
    std::sort(wanted.begin(), wanted.end(), [](const DuplicateRecord& a, const DuplicateRecord& b) {
      return std::tie(a.archive, a.offset) < std::tie(b.archive, b.offset);
    });
    std::vector<std::size_t> holding;  // the archives to read again, in order
    for (const DuplicateRecord& record : wanted) {
      if (holding.empty() || holding.back() != record.archive) holding.push_back(record.archive);
    }
    std::deque<Keyed> keyed;  // in chunks: no huge block to move as it grows
    SharedReadPass<ArchiveRows> pass;
    pass.Run(
        holding.size(), [&](std::size_t i) { return m_fs.OpenForBlocks(m_archives[holding[i]].path); },
        [&](std::size_t i, std::string_view bytes, ArchiveRows& result, int side) {
          const std::size_t archive = holding[i];
          result.rows.clear();
          const auto first = std::lower_bound(
              wanted.begin(), wanted.end(), archive,
              [](const DuplicateRecord& record, std::size_t a) { return record.archive < a; });
          // The archive was written anew since the first read.
          const ArchiveEncoding encoding = m_archives[archive].encoding;
          if (EncodingAtEnd(bytes, m_archives[archive].path) != encoding) throw AppError(ChangedDuringTheSearch(archive));
          std::int32_t visited = 0;
          for (auto it = first; it != wanted.end() && it->archive == archive; ++it) {
            std::string_view fields[4];
            if (!EntryAt(bytes, it->offset, fields)) throw AppError(ChangedDuringTheSearch(archive));
            const std::string_view name = Utf8Text(names, encoding, fields[1], result.nameText);
            if (hashers[side](name, fields[2], fields[3]) != it->hash) throw AppError(ChangedDuringTheSearch(archive));
            BuildDuplicateKey(request.criteria, names, name, fields[2], fields[3], result.keyText);
            result.rows.push_back(Keyed{it->hash, result.texts.Keep(result.keyText),
                                        result.texts.Keep(Utf8Text(names, encoding, fields[0], result.folderText)),
                                        result.texts.Keep(name), NumberOf(fields[2]).value_or(0),
                                        static_cast<std::int32_t>(
                                            static_cast<std::uint32_t>(NumberOf(fields[3]).value_or(0))),
                                        archive});
            if (side == 0 && ++visited % kPumpEveryEntries == 0) PumpAndCheck();
          }
        },
        [&](std::size_t i, ArchiveRows& result, std::exception_ptr error) {
          // A damaged archive's rows are dropped with its texts.
          if (Failed(holding[i], error)) {
            result.texts.Clear();
          } else {
            for (const Keyed& row : result.rows) {
              // The row as kept here, and as listed.
              Charge(sizeof(Keyed) + sizeof(DuplicateRow) + row.key.size() + row.directory.size() +
                     row.file.size());
              keyed.push_back(row);
            }
            m_texts.Adopt(result.texts);
          }
          PumpAndCheck();
        },
        pause);
    std::vector<DuplicateRecord>().swap(wanted);
    Group(keyed, request);
    return true;
  } catch (const Stopped&) {
  } catch (const ResultsFull&) {
    m_resultsFull = true;
  } catch (const std::bad_alloc&) {
    m_resultsFull = true;
  }
  m_groups.clear();
  m_rows.clear();
  m_totals = DuplicateTotals{};
  return false;
}

void DuplicateFinder::SelectWanted(DuplicateRecords& records, const std::vector<char>& damaged,
                                   const DuplicateRequest& request,
                                   std::vector<DuplicateRecord>& wanted) {
  std::vector<char> chosen(m_archives.size(), 0);
  if (!request.mark.empty()) {
    for (std::size_t i = 0; i < m_archives.size(); ++i) chosen[i] = m_archives[i].mark == request.mark;
  }
  DuplicateTally tally;
  for (std::size_t b = 0; b < records.BucketCount(); ++b) {
    const std::size_t count = records.Count(b);
    tally.Reset(count);
    records.ForEach(b, [&](const DuplicateRecord& record) {
      if (!damaged[record.archive]) tally.Count(record.hash, record.archive, chosen[record.archive] != 0);
    });
    records.ForEach(b, [&](const DuplicateRecord& record) {
      if (damaged[record.archive]) return;
      const std::uint32_t flags = tally.Flags(record.hash);
      if (!(flags & DuplicateTally::kSeveralArchives)) return;
      if (!request.mark.empty() && !(flags & DuplicateTally::kInAChosenArchive)) return;
      Charge(DuplicateRecords::kRecordBytes);
      wanted.push_back(record);
    });
    records.Release(b);
    // The bucket's records are freed.
    m_charged -= std::min(m_charged, count * DuplicateRecords::kRecordBytes);
    if (b % kPumpEveryBuckets == 0) PumpAndCheck();
  }
}

std::string DuplicateFinder::ChangedDuringTheSearch(std::size_t archive) const {
  return "Archive \"" + m_archives[archive].path + "\" changed during the search; search again to include it.";
}

void DuplicateFinder::FindOnChosenDiscs(const std::string& root, const std::string& mask,
                                        const DuplicateRequest& request, const NameFolder& names,
                                        KeyHasher (&hashers)[kReadPassSides]) {
  const auto pause = [this] { PumpAndCheck(); };
  // The archives and which carry the mark, in one walk that takes the marks
  // from the summary of the key blocks where it is current. One that cannot
  // be read counts as another disc, and the full read names it.
  std::vector<std::size_t> chosen;
  std::vector<std::size_t> others;
  const auto list = [&](const std::string& path, bool isChosen) {
    (isChosen ? chosen : others).push_back(m_archives.size());
    m_archives.push_back(Archive{path, {}});
  };
  const WalkPacing pacing{m_pump, [this] { return m_abort; }};
  const bool walked = WalkArchiveKeys(
      m_fs, m_text, root, mask,
      {[&](const std::string& path, const ArchiveKeyValues& keys) {
         list(path, MarkAsListed(keys.mark) == request.mark);
       },
       [&](const std::string& path, const AppError&) { list(path, false); }},
      &pacing);
  if (!walked || m_abort || m_pump.Terminated()) throw Stopped{};
  if (m_archives.size() >= DuplicateTally::kFree) throw ResultsFull();

  // The chosen archives' rows.
  std::deque<Keyed> rows;
  SharedReadPass<ArchiveRows> chosenPass;
  chosenPass.Run(
      chosen.size(), [&](std::size_t i) { return m_fs.OpenForBlocks(m_archives[chosen[i]].path); },
      [&](std::size_t i, std::string_view bytes, ArchiveRows& result, int side) {
        const std::size_t archive = chosen[i];
        result.rows.clear();
        ReadEntries(m_archives[archive].path, bytes, names, result.mark, result.encoding, side == 0,
                    [&](std::size_t, std::string_view name, std::string_view size, std::string_view time,
                        std::string_view directory) {
                      name = Utf8Text(names, result.encoding, name, result.nameText);
                      directory = Utf8Text(names, result.encoding, directory, result.folderText);
                      BuildDuplicateKey(request.criteria, names, name, size, time, result.keyText);
                      result.rows.push_back(Keyed{hashers[side](name, size, time), result.texts.Keep(result.keyText),
                                                  result.texts.Keep(directory), result.texts.Keep(name),
                                                  NumberOf(size).value_or(0),
                                                  static_cast<std::int32_t>(
                                                      static_cast<std::uint32_t>(NumberOf(time).value_or(0))),
                                                  archive});
                    });
        if (result.mark != request.mark) throw AppError(ChangedDuringTheSearch(archive));
      },
      [&](std::size_t i, ArchiveRows& result, std::exception_ptr error) {
        if (Failed(chosen[i], error)) {
          result.texts.Clear();
        } else {
          m_archives[chosen[i]].mark = result.mark;
          m_archives[chosen[i]].encoding = result.encoding;
          for (const Keyed& row : result.rows) {
            Charge(sizeof(Keyed) + sizeof(DuplicateRow) + row.key.size() + row.directory.size() + row.file.size());
            rows.push_back(row);
          }
          m_texts.Adopt(result.texts);
        }
        m_observer.ArchiveSearched();
        PumpAndCheck();
      },
      pause);

  // Every other archive only tells which of those keys it holds too.
  Charge(rows.size() * (sizeof(std::pair<std::uint64_t, std::size_t>) + 2 * sizeof(std::uint64_t) + 1));
  std::vector<std::pair<std::uint64_t, std::size_t>> byHash;
  byHash.reserve(rows.size());
  DuplicateHashSet chosenHashes(rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    byHash.emplace_back(rows[r].hash, r);
    chosenHashes.Insert(rows[r].hash);
  }
  std::sort(byHash.begin(), byHash.end());
  std::vector<char> heldElsewhere(rows.size(), 0);
  SharedReadPass<ArchiveMatches> othersPass;
  othersPass.Run(
      others.size(), [&](std::size_t i) { return m_fs.OpenForBlocks(m_archives[others[i]].path); },
      [&](std::size_t i, std::string_view bytes, ArchiveMatches& result, int side) {
        const std::size_t archive = others[i];
        result.held.clear();
        ReadEntries(m_archives[archive].path, bytes, names, result.mark, result.encoding, side == 0,
                    [&](std::size_t, std::string_view name, std::string_view size, std::string_view time,
                        std::string_view) {
                      name = Utf8Text(names, result.encoding, name, result.nameText);
                      const std::uint64_t hash = hashers[side](name, size, time);
                      if (!chosenHashes.Contains(hash)) return;
                      // Confirmed on the key itself: keys may share a hash.
                      BuildDuplicateKey(request.criteria, names, name, size, time, result.keyText);
                      const auto same = std::equal_range(byHash.begin(), byHash.end(), std::make_pair(hash, std::size_t{0}),
                                                         [](const auto& a, const auto& b) { return a.first < b.first; });
                      for (auto it = same.first; it != same.second; ++it) {
                        if (rows[it->second].key == result.keyText) result.held.push_back(it->second);
                      }
                    });
        if (result.mark == request.mark) throw AppError(ChangedDuringTheSearch(archive));
      },
      [&](std::size_t i, ArchiveMatches& result, std::exception_ptr error) {
        // A damaged archive is left out whole: its copies do not count.
        if (!Failed(others[i], error)) {
          m_archives[others[i]].mark = result.mark;
          m_archives[others[i]].encoding = result.encoding;
          for (const std::size_t r : result.held) heldElsewhere[r] = 1;
        }
        m_observer.ArchiveSearched();
        PumpAndCheck();
      },
      pause);

  // The rows no other archive holds, kept where they are: no second copy.
  std::vector<std::pair<std::uint64_t, std::size_t>>().swap(byHash);
  std::size_t kept = 0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (!heldElsewhere[r]) rows[kept++] = rows[r];
  }
  rows.resize(kept);
  Group(rows, request);
}

void DuplicateFinder::ListArchives(FolderTrail& trail, const std::string& folder,
                                   const std::string& mask) {
  m_fs.ListFolder(folder, mask, [&](const DirEntry& entry) {
    if (!entry.isFolder) m_archives.push_back(Archive{folder + entry.name, {}});
    return true;
  });
  m_pump.Pump();
  bool goOn = !m_abort && !m_pump.Terminated();
  if (!goOn) return;
  m_fs.ListFolder(folder, "*.*", [&](const DirEntry& entry) {
    if (entry.isFolder) {
      const std::string subfolder = folder + entry.name + '\\';
      goOn = trail.Enter(subfolder, entry.fileNumber, [&] {
        ListArchives(trail, subfolder, mask);
        return !m_abort && !m_pump.Terminated();
      });
    }
    return goOn;
  });
}

bool DuplicateFinder::Failed(std::size_t archive, const std::exception_ptr& error) {
  if (!error) return false;
  try {
    std::rethrow_exception(error);
  } catch (const AppError& e) {
    m_observer.ArchiveFailed(e.what());
  } catch (const std::bad_alloc&) {
    m_observer.ArchiveFailed("Archive \"" + m_archives[archive].path +
                             "\" is too large to be read into memory.");
  }
  return true;
}

template <class Entry>
void DuplicateFinder::ReadEntries(const std::string& path, std::string_view bytes, const NameFolder& names,
                                  std::string& mark, ArchiveEncoding& encoding, bool pump, const Entry& entry) {
  if (bytes.size() >= UINT32_MAX) throw AppError("An archive file of 4 GiB or more cannot be read.");
  std::vector<std::string_view> keyLines;
  FindKeyBlockLines(bytes, keyLines);
  const auto readKey = [&](std::string_view key) { return KeyValueOf(keyLines, key).value_or(std::string_view()); };
  encoding = EncodingOfArchive(keyLines, path);
  const auto number = [&](std::string_view key) -> std::optional<std::int32_t> {
    const std::string_view value = TrimBlanksAndControls(readKey(key));
    if (value.empty()) return std::nullopt;
    const auto parsed = ParseInt64(value);
    if (!parsed) {
      throw ConvertError("The " + std::string(key) + " value \"" + std::string(value) +
                         "\" of archive \"" + path + "\" is not a number.");
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*parsed));
  };
  const std::int32_t stride =
      number(kAPars).value_or(static_cast<std::int32_t>(kDefaultEntryStride));
  const auto count = number(kAFiles);
  const std::string_view stored = MarkAsListed(readKey(kAMark));
  std::string decoded;
  mark.assign(Utf8Text(names, encoding, stored, decoded));
  if (!count) return;
  // A stride of 0 would read the first entry again and again.
  if (stride <= 0 && *count > 0) {
    throw AppError("Archive \"" + path +
                   "\" is damaged: its APars key gives its entries " + std::to_string(stride) +
                   " lines each.");
  }
  const auto missing = [&](std::int32_t i) {
    return AppError(EntryPastEndText(path, i));
  };
  if (stride >= 4) {
    // Each entry has lines of its own: one pass over the bytes reads them all.
    EntryCursor cursor(bytes, 0);
    for (std::int32_t i = 0; i < *count; ++i) {
      std::size_t start = 0;
      std::string_view fields[4];
      if (!cursor.Next(static_cast<std::size_t>(stride), start, fields)) throw missing(i);
      entry(start, fields[1], fields[2], fields[3], fields[0]);
      if (pump && i % kPumpEveryEntries == 0) PumpAndCheck();
    }
    return;
  }
  LineLocator lines;
  lines.Reset(bytes);
  LineLocator::Span span[4];
  const auto text = [&](const LineLocator::Span& line) {
    return bytes.substr(line.begin, line.end - line.begin);
  };
  for (std::int32_t i = 0; i < *count; ++i) {
    const std::uint64_t base = static_cast<std::uint64_t>(i) * static_cast<std::uint64_t>(stride);
    if (base >= bytes.size() || !lines.Lines(static_cast<std::size_t>(base), 4, span)) {
      throw missing(i);
    }
    entry(span[0].begin, text(span[1]), text(span[2]), text(span[3]), text(span[0]));
    if (pump && i % kPumpEveryEntries == 0) PumpAndCheck();
  }
}

void DuplicateFinder::PumpAndCheck() {
  m_pump.Pump();
  if (m_abort || m_pump.Terminated()) throw Stopped{};
}

void DuplicateFinder::Charge(std::size_t bytes) {
  if (bytes > m_budget || m_charged > m_budget - bytes) throw ResultsFull();
  m_charged += bytes;
}

void DuplicateFinder::Group(std::deque<Keyed>& rows, const DuplicateRequest& request) {
  // Sorted by hash in a compact copy first, then each run of one hash (a few
  // rows) by its strings: no string of one run is compared with another's.
  struct Hashed {
    std::uint64_t hash;
    Keyed* row;
  };
  std::vector<Hashed> keyed;
  keyed.reserve(rows.size());
  for (Keyed& row : rows) keyed.push_back(Hashed{row.hash, &row});
  std::sort(keyed.begin(), keyed.end(), [](const Hashed& a, const Hashed& b) { return a.hash < b.hash; });
  for (auto run = keyed.begin(); run != keyed.end();) {
    auto end = run + 1;
    while (end != keyed.end() && end->hash == run->hash) ++end;
    std::sort(run, end, [&](const Hashed& x, const Hashed& y) {
      const Keyed& a = *x.row;
      const Keyed& b = *y.row;
      return std::tie(a.key, m_archives[a.archive].mark, a.directory, a.file, a.archive) <
             std::tie(b.key, m_archives[b.archive].mark, b.directory, b.file, b.archive);
    });
    run = end;
  }
  const bool thisDiscOnly = request.mode == DuplicateMode::kOnThisDiscOnly;
  // A group listed: its run of `keyed`.
  struct Found {
    std::size_t first;
    std::size_t count;
    CountTotal extraBytes;
    const Keyed& Row(const std::vector<Hashed>& runs, std::size_t k = 0) const { return *runs[first + k].row; }
  };
  std::vector<Found> found;
  std::size_t runs = 0;
  for (auto run = keyed.begin(); run != keyed.end();) {
    auto end = run;
    bool severalArchives = false;
    bool anyChosen = false;
    bool allChosen = true;
    CountTotal sum;
    std::uint64_t largest = 0;
    for (; end != keyed.end() && end->hash == run->hash && end->row->key == run->row->key; ++end) {
      const Keyed& row = *end->row;
      severalArchives = severalArchives || row.archive != run->row->archive;
      const bool chosen = !request.mark.empty() && m_archives[row.archive].mark == request.mark;
      anyChosen = anyChosen || chosen;
      allChosen = allChosen && chosen;
      const std::uint64_t size = SizeCounted(row.size);
      sum.Add(size);
      largest = std::max(largest, size);
    }
    const bool listed = thisDiscOnly ? allChosen
                                     : severalArchives && (request.mark.empty() || anyChosen);
    if (listed) {
      Found group{static_cast<std::size_t>(run - keyed.begin()), static_cast<std::size_t>(end - run), {}};
      m_totals.files += group.count;
      for (auto row = run; row != end; ++row) m_totals.bytes.Add(SizeCounted(row->row->size));
      if (!thisDiscOnly) {
        // The extra copies: every one but the largest, in the group and in the total.
        group.extraBytes = sum;
        group.extraBytes.Subtract(largest);
        m_totals.bytes.Subtract(largest);
      }
      found.push_back(group);
    }
    run = end;
    if (++runs % kPumpEveryGroups == 0) PumpAndCheck();
  }
  // Groups of one size, and one disc's files in one place, come by their keys.
  if (thisDiscOnly) {
    std::sort(found.begin(), found.end(), [&](const Found& a, const Found& b) {
      const Keyed& x = a.Row(keyed);
      const Keyed& y = b.Row(keyed);
      return std::tie(x.directory, x.file, x.key) < std::tie(y.directory, y.file, y.key);
    });
  } else {
    std::sort(found.begin(), found.end(), [&](const Found& a, const Found& b) {
      return std::tie(b.extraBytes, a.Row(keyed).key) < std::tie(a.extraBytes, b.Row(keyed).key);
    });
  }
  // Every row in one block, group after group; the groups point into it.
  m_rows.reserve(m_totals.files);
  for (const Found& group : found) {
    for (std::size_t k = 0; k < group.count; ++k) {
      const Keyed& row = group.Row(keyed, k);
      const Archive& archive = m_archives[row.archive];
      m_rows.push_back(DuplicateRow{archive.mark, archive.path, row.directory, row.file, row.size, row.dosTime,
                                    archive.encoding == ArchiveEncoding::CodePage});
    }
  }
  m_groups.reserve(found.size());
  const DuplicateRow* next = m_rows.data();
  for (const Found& group : found) {
    m_groups.push_back(DuplicateGroup{{next, group.count}, group.extraBytes});
    next += group.count;
  }
  m_totals.groups = m_groups.size();
}

}  // namespace discovel
