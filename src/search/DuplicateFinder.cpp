#include "search/DuplicateFinder.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <iterator>
#include <new>
#include <optional>
#include <tuple>

#include "catalog/ArchiveKeys.h"
#include "catalog/KeyBlock.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"
#include "search/LineLocator.h"
#include "search/ReadAhead.h"

namespace discovel {
namespace {

constexpr std::int32_t kPumpEveryEntries = 300;
constexpr std::string_view kUnknownMark = "Unknown";

// Unwinds a run that was aborted or whose application is ending.
struct Stopped {};

std::optional<std::int64_t> NumberOf(std::string_view text) {
  return ParseInt64(TrimBlanksAndControls(text));
}

}  // namespace

// Three 32-bit words rather than a 64-bit one, so the record packs to 12 bytes.
struct DuplicateFinder::Seen {
  std::uint32_t hashHigh;
  std::uint32_t hashLow;
  std::uint32_t archive;

  static Seen Of(std::uint64_t hash, std::size_t archive) {
    return Seen{static_cast<std::uint32_t>(hash >> 32), static_cast<std::uint32_t>(hash),
                static_cast<std::uint32_t>(archive)};
  }
  std::uint64_t Hash() const { return (std::uint64_t{hashHigh} << 32) | hashLow; }
  bool operator<(const Seen& other) const {
    return std::tie(hashHigh, hashLow, archive) <
           std::tie(other.hashHigh, other.hashLow, other.archive);
  }
  bool operator==(const Seen& other) const {
    return hashHigh == other.hashHigh && hashLow == other.hashLow && archive == other.archive;
  }
};

struct DuplicateFinder::Keyed {
  std::string key;
  std::size_t archive;
  DuplicateRow row;
};

DuplicateFinder::DuplicateFinder(FileSystem& fs, const TextServices& text, UiPump& pump,
                                 SearchObserver& observer, std::size_t budgetBytes,
                                 DuplicateHashFunction hash)
    : m_fs(fs), m_text(text), m_pump(pump), m_observer(observer), m_budget(budgetBytes),
      m_hash(hash) {
  static_assert(sizeof(Seen) == 12, "a record per entry must stay small");
}

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
  m_archives.clear();
  m_groups.clear();
  m_totals = DuplicateTotals{};
  m_pump.Pump();
  const std::string root = IncludeTrailingBackslash(folder);
  FolderTrail trail(m_fs, root);
  const NameFolder names(m_text);
  std::string key;
  try {
    ListArchives(trail, root, mask);
    if (m_abort || m_pump.Terminated()) throw Stopped{};

    // First read: a hash per entry. An archive's records join only once it
    // was read to its end, so a damaged one is left out whole.
    std::deque<Seen> seen;  // in chunks: no huge block to move as it grows
    std::vector<Seen> pending;
    ReadArchives(
        std::vector<bool>(m_archives.size(), true),
        [&](std::size_t archive, std::string_view name, std::string_view size,
            std::string_view time, std::string_view) {
          BuildDuplicateKey(request.criteria, names, name, size, time, key);
          pending.push_back(Seen::Of(m_hash(key), archive));
        },
        [&](std::size_t, bool whole) {
          if (whole) {
            Charge(pending.size() * sizeof(Seen));
            seen.insert(seen.end(), pending.begin(), pending.end());
          }
          pending.clear();
          pending.shrink_to_fit();
          m_observer.ArchiveSearched();
        });

    // Only the hashes worth a row stay: those in two archives or more, or
    // those the chosen archive holds.
    std::sort(seen.begin(), seen.end());
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    const auto chosen = [&](std::uint32_t archive) {
      return !request.mark.empty() && m_archives[archive].mark == request.mark;
    };
    std::vector<bool> wanted(m_archives.size(), false);
    // Kept in place, so the records are never held twice.
    auto kept = seen.begin();
    std::size_t runs = 0;
    for (auto run = seen.begin(); run != seen.end();) {
      auto end = run;
      bool anyChosen = false;
      while (end != seen.end() && end->Hash() == run->Hash()) {
        anyChosen = anyChosen || chosen(end->archive);
        ++end;
      }
      const bool severalArchives = end - run > 1;
      const bool keep = request.mode == DuplicateMode::kOnThisDiscOnly
                            ? anyChosen
                            : severalArchives && (request.mark.empty() || anyChosen);
      if (keep) {
        for (auto it = run; it != end; ++it) wanted[it->archive] = true;
        kept = std::copy(run, end, kept);
      }
      run = end;
      if (++runs % 65536 == 0) PumpAndCheck();
    }
    seen.erase(kept, seen.end());
    seen.shrink_to_fit();
    m_charged = seen.size() * sizeof(Seen);

    // Second read, of only the archives that hold such a hash: their rows.
    std::deque<Keyed> keyed;
    std::vector<Keyed> pendingRows;
    ReadArchives(
        wanted,
        [&](std::size_t archive, std::string_view name, std::string_view size,
            std::string_view time, std::string_view directory) {
          BuildDuplicateKey(request.criteria, names, name, size, time, key);
          if (!std::binary_search(seen.begin(), seen.end(), Seen::Of(m_hash(key), archive))) {
            return;
          }
          Keyed row{key, archive, DuplicateRow{}};
          row.row.mark = m_archives[archive].mark;
          row.row.archivePath = m_archives[archive].path;
          row.row.directory.assign(directory);
          row.row.file.assign(name);
          row.row.size = NumberOf(size).value_or(0);
          row.row.dosTime = static_cast<std::int32_t>(
              static_cast<std::uint32_t>(NumberOf(time).value_or(0)));
          Charge(sizeof(Keyed) + row.key.size() + row.row.mark.size() +
                 row.row.archivePath.size() + row.row.directory.size() + row.row.file.size());
          pendingRows.push_back(std::move(row));
        },
        [&](std::size_t, bool whole) {
          if (whole) std::move(pendingRows.begin(), pendingRows.end(), std::back_inserter(keyed));
          pendingRows.clear();
        });
    std::deque<Seen>().swap(seen);
    Group(keyed, request);
    return true;
  } catch (const Stopped&) {
    return false;
  } catch (const ResultsFull&) {
    m_resultsFull = true;
  } catch (const std::bad_alloc&) {
    m_resultsFull = true;
  }
  m_groups.clear();
  m_totals = DuplicateTotals{};
  return false;
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
      goOn = trail.Enter(subfolder, [&] {
        ListArchives(trail, subfolder, mask);
        return !m_abort && !m_pump.Terminated();
      });
    }
    return goOn;
  });
}

template <class Entry, class Finished>
void DuplicateFinder::ReadArchives(const std::vector<bool>& wanted, const Entry& entry,
                                   const Finished& finished) {
  ReadAhead readAhead;
  std::size_t toOpen = 0;
  const auto openNext = [&] {
    while (toOpen < m_archives.size() && !wanted[toOpen]) ++toOpen;
    if (toOpen == m_archives.size()) return;
    try {
      readAhead.Add(m_fs.OpenForBlocks(m_archives[toOpen].path));
    } catch (...) {
      readAhead.AddFailure(std::current_exception());
    }
    ++toOpen;
  };
  openNext();
  for (std::size_t i = 0; i < m_archives.size(); ++i) {
    Archive& archive = m_archives[i];
    if (!wanted[i]) continue;
    std::string_view bytes;
    std::exception_ptr unread;
    try {
      bytes = readAhead.Take();
    } catch (...) {
      unread = std::current_exception();
    }
    openNext();
    bool whole = false;
    // A damaged archive is named, and its entries are dropped: none of its
    // hashes is kept, so the second read never comes back to it.
    try {
      if (unread) std::rethrow_exception(unread);
      ReadEntries(archive, bytes, [&](auto... fields) { entry(i, fields...); });
      whole = true;
    } catch (const AppError& e) {
      m_observer.ArchiveFailed(e.what());
    } catch (const std::bad_alloc&) {
      m_observer.ArchiveFailed("Archive \"" + archive.path +
                               "\" is too large to be read into memory.");
    }
    finished(i, whole);
    PumpAndCheck();
  }
}

template <class Entry>
void DuplicateFinder::ReadEntries(Archive& archive, std::string_view bytes, const Entry& entry) {
  if (bytes.size() >= UINT32_MAX) throw AppError("An archive file of 4 GiB or more cannot be read.");
  std::vector<std::string_view> keyLines;
  FindKeyBlockLines(bytes, keyLines);
  const auto readKey = [&](std::string_view key) {
    // The first matching line of the block counts.
    for (auto line = keyLines.rbegin(); line != keyLines.rend(); ++line) {
      if (auto value = keyblock::ValueIfKey(*line, key)) return *value;
    }
    return std::string_view();
  };
  const auto number = [&](std::string_view key) -> std::optional<std::int32_t> {
    const std::string_view value = TrimBlanksAndControls(readKey(key));
    if (value.empty()) return std::nullopt;
    const auto parsed = ParseInt64(value);
    if (!parsed) {
      throw ConvertError("The " + std::string(key) + " value \"" + std::string(value) +
                         "\" of archive \"" + archive.path + "\" is not a number.");
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*parsed));
  };
  const std::int32_t stride =
      number(kAPars).value_or(static_cast<std::int32_t>(kDefaultEntryStride));
  const auto count = number(kAFiles);
  const std::string_view mark = TrimBlanksAndControls(readKey(kAMark));
  archive.mark.assign(mark.empty() ? kUnknownMark : mark);
  if (!count) return;
  // A stride of 0 would read the first entry again and again.
  if (stride <= 0 && *count > 0) {
    throw AppError("Archive \"" + archive.path +
                   "\" is damaged: its APars key gives its entries " + std::to_string(stride) +
                   " lines each.");
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
      throw AppError("Archive \"" + archive.path + "\" ends before the lines of its entry " +
                     std::to_string(i) + ".");
    }
    entry(text(span[1]), text(span[2]), text(span[3]), text(span[0]));
    if (i % kPumpEveryEntries == 0) PumpAndCheck();
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

void DuplicateFinder::Group(std::deque<Keyed>& keyed, const DuplicateRequest& request) {
  const auto rowOrder = [](const Keyed& a, const Keyed& b) {
    return std::tie(a.key, a.row.mark, a.row.directory, a.row.file, a.archive) <
           std::tie(b.key, b.row.mark, b.row.directory, b.row.file, b.archive);
  };
  std::sort(keyed.begin(), keyed.end(), rowOrder);
  const bool thisDiscOnly = request.mode == DuplicateMode::kOnThisDiscOnly;
  for (auto run = keyed.begin(); run != keyed.end();) {
    auto end = run;
    bool severalArchives = false;
    bool anyChosen = false;
    bool allChosen = true;
    std::int64_t sum = 0;
    std::int64_t largest = 0;
    for (; end != keyed.end() && end->key == run->key; ++end) {
      severalArchives = severalArchives || end->archive != run->archive;
      const bool chosen = !request.mark.empty() && end->row.mark == request.mark;
      anyChosen = anyChosen || chosen;
      allChosen = allChosen && chosen;
      sum += end->row.size;
      largest = std::max(largest, end->row.size);
    }
    const bool listed = thisDiscOnly ? allChosen
                                     : severalArchives && (request.mark.empty() || anyChosen);
    if (listed) {
      DuplicateGroup group;
      for (auto it = run; it != end; ++it) group.rows.push_back(std::move(it->row));
      group.extraBytes = thisDiscOnly ? 0 : sum - largest;
      m_totals.files += group.rows.size();
      m_totals.bytes += thisDiscOnly ? sum : group.extraBytes;
      m_groups.push_back(std::move(group));
    }
    run = end;
  }
  m_totals.groups = m_groups.size();
  if (thisDiscOnly) {
    std::stable_sort(m_groups.begin(), m_groups.end(), [](const DuplicateGroup& a, const DuplicateGroup& b) {
      return std::tie(a.rows[0].directory, a.rows[0].file) < std::tie(b.rows[0].directory, b.rows[0].file);
    });
  } else {
    std::stable_sort(m_groups.begin(), m_groups.end(), [](const DuplicateGroup& a, const DuplicateGroup& b) {
      return a.extraBytes > b.extraBytes;
    });
  }
}

}  // namespace discovel
