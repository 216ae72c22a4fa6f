#include "browse/EntryRuns.h"

#include <algorithm>
#include <cstring>
#include <future>
#include <optional>
#include <system_error>
#include <thread>

#include "catalog/ArchiveFile.h"
#include "catalog/TextLines.h"
#include "catalog/TextUtil.h"

namespace discovel {
namespace {

constexpr std::size_t kNoBoundary = static_cast<std::size_t>(-1);
constexpr std::uint32_t kNoLine = 0xFFFFFFFFu;
constexpr std::size_t kEntryLines = 4;
constexpr unsigned kMostThreads = 4;
// Entries in a row whose shape must fit before a stretch begins at them.
constexpr std::size_t kShapeEntries = 8;

bool IsSizeLine(std::string_view line) {
  const std::optional<std::int64_t> size = ParseInt64(line);
  return size && *size >= 0;
}

bool IsTimeLine(std::string_view line) { return ParseInt64(line).has_value(); }

// Entry after entry, entry i the four lines from line i * stride on. The
// usual stride of four reads the lines one after another; otherwise the last
// four lines read are kept, as a stride below four makes entries share lines.
class EntryLines {
 public:
  EntryLines(std::string_view text, std::size_t stride) : m_lines(text), m_stride(stride) {}

  // The next entry's folder line; false past the text's end.
  bool Folder(std::string_view& folder) {
    if (m_stride == kEntryLines) return m_lines.Next(folder);
    m_first = m_entry++ * m_stride;
    return Line(m_first, folder);
  }

  // The rest of the entry whose folder line was read last.
  bool Rest(EntryView& entry) {
    if (m_stride == kEntryLines) {
      return m_lines.Next(entry.name) && m_lines.Next(entry.size) && m_lines.Next(entry.time);
    }
    return Line(m_first + 1, entry.name) && Line(m_first + 2, entry.size) && Line(m_first + 3, entry.time);
  }

 private:
  bool Line(std::size_t index, std::string_view& out) {
    for (; m_linesRead <= index; ++m_linesRead) {
      if (!m_lines.Next(m_lastFour[m_linesRead % kEntryLines])) return false;
    }
    out = m_lastFour[index % kEntryLines];
    return true;
  }

  LineCursor m_lines;
  std::size_t m_stride;
  std::size_t m_entry = 0;
  std::size_t m_first = 0;
  std::size_t m_linesRead = 0;
  std::string_view m_lastFour[kEntryLines];
};

// Equal texts, compared four bytes at a time in line: most entries repeat
// the folder line before them, and a C library may compare byte by byte.
bool SameLine(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  std::size_t i = 0;
  for (; i + 4 <= a.size(); i += 4) {
    std::uint32_t x;
    std::uint32_t y;
    std::memcpy(&x, a.data() + i, 4);
    std::memcpy(&y, b.data() + i, 4);
    if (x != y) return false;
  }
  for (; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

EntryRun ReadRun(std::string_view text, std::size_t begin, std::size_t boundary, std::int64_t count,
                 std::size_t stride, std::size_t reserve) {
  EntryRun run;
  run.begin = begin;
  run.files.reserve(reserve);
  run.lineOfFile.reserve(reserve);
  EntryLines lines(text.substr(begin), stride);
  std::string_view lastLine;
  std::uint32_t lastIndex = kNoLine;
  for (std::int64_t i = 0; i < count; ++i) {
    EntryView entry;
    if (!lines.Folder(entry.folder)) {
      run.end = EntryRun::End::kPastEnd;
      return run;
    }
    const auto at = static_cast<std::size_t>(entry.folder.data() - text.data());
    if (at >= boundary) {
      run.end = EntryRun::End::kBoundary;
      run.next = at;
      return run;
    }
    if (!lines.Rest(entry)) {
      run.end = EntryRun::End::kPastEnd;
      return run;
    }
    const std::optional<std::int64_t> size = ParseInt64(entry.size);
    const std::optional<std::int64_t> time = ParseInt64(entry.time);
    if (!size || *size < 0 || !time) {
      run.end = EntryRun::End::kNoNumber;
      return run;
    }
    // Entries of one folder mostly follow one another: a line is kept where the folder changes.
    if (lastIndex == kNoLine || !SameLine(entry.folder, lastLine)) {
      lastIndex = static_cast<std::uint32_t>(run.folderLines.size());
      run.folderLines.push_back(entry.folder);
      lastLine = entry.folder;
    }
    run.files.push_back(ArchiveFolders::File{static_cast<std::uint32_t>(entry.name.data() - text.data()),
                                             static_cast<std::uint32_t>(entry.name.size()), *size,
                                             static_cast<std::int32_t>(static_cast<std::uint32_t>(*time)),
                                             static_cast<std::uint32_t>(i)});
    run.lineOfFile.push_back(lastIndex);
  }
  run.end = EntryRun::End::kCount;
  return run;
}

// The start of a line after the one `from` is in, at which kShapeEntries
// entries of four lines follow, each a size and a time after its folder and
// name; kNoBoundary where that fits no line or more than one of the first four.
std::size_t EntryStartAfter(std::string_view text, std::size_t from) {
  LineCursor lines(text.substr(from));
  std::string_view line;
  if (!lines.Next(line)) return kNoBoundary;  // the rest of the line `from` is in
  std::vector<std::string_view> shown;
  while (shown.size() < kEntryLines * (kShapeEntries + 1) && lines.Next(line)) shown.push_back(line);
  std::size_t fits = kNoBoundary;
  for (std::size_t offset = 0; offset < kEntryLines; ++offset) {
    bool fit = offset + kEntryLines * kShapeEntries <= shown.size();
    for (std::size_t e = 0; fit && e < kShapeEntries; ++e) {
      const std::size_t folder = offset + e * kEntryLines;
      fit = !shown[folder].empty() && !shown[folder + 1].empty() && IsSizeLine(shown[folder + 2]) &&
            IsTimeLine(shown[folder + 3]);
    }
    if (!fit) continue;
    if (fits != kNoBoundary) return kNoBoundary;
    fits = static_cast<std::size_t>(shown[offset].data() - text.data());
  }
  return fits;
}

// Where the stretches begin: the text's start, then a start near each
// equal share of it whose entry shape is clear.
std::vector<std::size_t> StretchStarts(std::string_view text, std::size_t stride, const EntryReading& reading) {
  std::vector<std::size_t> starts{0};
  unsigned threads = reading.threads != 0 ? reading.threads : std::thread::hardware_concurrency();
  threads = std::clamp(threads, 1u, kMostThreads);
  if (stride != kEntryLines || text.size() < reading.splitFrom || threads == 1) return starts;
  for (unsigned k = 1; k < threads; ++k) {
    const std::size_t start = EntryStartAfter(text, text.size() / threads * k);
    if (start != kNoBoundary && start > starts.back()) starts.push_back(start);
  }
  return starts;
}

}  // namespace

std::vector<EntryRun> ReadEntryRuns(std::string_view text, std::int64_t count, std::size_t stride,
                                    std::size_t reserve, const EntryReading& reading) {
  const std::vector<std::size_t> starts = StretchStarts(text, stride, reading);
  const auto boundaryAfter = [&](std::size_t k) { return k + 1 < starts.size() ? starts[k + 1] : kNoBoundary; };
  // A share of the files in each later stretch, as the first holds room for all.
  const std::size_t share = reserve / starts.size() + reserve / 16;
  std::vector<std::future<EntryRun>> later;
  try {
    for (std::size_t k = 1; k < starts.size(); ++k) {
      later.push_back(std::async(std::launch::async, ReadRun, text, starts[k], boundaryAfter(k), count, stride, share));
    }
  } catch (const std::system_error&) {
    // No thread to be had: the stretches not begun are read again below.
  }
  std::vector<EntryRun> runs;
  runs.push_back(ReadRun(text, 0, boundaryAfter(0), count, stride, reserve));
  bool follows = true;
  for (std::future<EntryRun>& future : later) {
    EntryRun run = future.get();
    const EntryRun& before = runs.back();
    follows = follows && before.end == EntryRun::End::kBoundary && before.next == run.begin;
    if (follows) runs.push_back(std::move(run));
  }
  // A stretch that began elsewhere than where the one before it ended: the
  // rest is read again from that end, in one stretch.
  if (runs.back().end == EntryRun::End::kBoundary) {
    std::int64_t read = 0;
    for (const EntryRun& run : runs) read += static_cast<std::int64_t>(run.files.size());
    runs.push_back(ReadRun(text, runs.back().next, kNoBoundary, count - read, stride, share));
  }
  return runs;
}

}  // namespace discovel
