#include "catalog/KeySummary.h"

#include <charconv>
#include <unordered_set>

#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveKeys.h"

namespace discovel {
namespace {

// The first line: format, version, and the catalogue folder it belongs to.
constexpr std::string_view kFormatName = "Discovel key summary";
// Version 2 added the last check's two keys, version 3 when each archive was
// read, version 4 each archive's encoding (and holds its texts in UTF-8),
// version 5 where a drive's or folder's listing came from: an older summary
// lacks them, so it is read as no summary and written anew.
constexpr std::string_view kVersion = "5";
// The last line, with the number of entries: a file cut short at a line end
// is still seen as cut.
constexpr std::string_view kEndName = "end";
constexpr std::string_view kLineEnd = "\r\n";
constexpr char kField = '\t';
constexpr std::string_view kReadable = "R";
constexpr std::string_view kUnreadable = "U";
constexpr std::size_t kEntryFields = 20;
// The first line's share of the bound: its names and a folder path within
// MAX_PATH, escaped, and the end line.
constexpr std::size_t kFirstLineBytes = 1024;

// Field texts hold no tab, CR or LF, so a record is one line; backslash
// escapes them and itself, and every other byte stands as it is.
void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    // The writer never leaves a line end bare inside a field.
    if (text[i] == '\r' || text[i] == '\n') return std::nullopt;
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

// Plain decimal digits as the writer writes them: no sign, no leading zero.
std::optional<std::uint64_t> Decimal(std::string_view text) {
  if (text.empty() || (text.size() > 1 && text.front() == '0')) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> DecimalUpTo(std::string_view text, std::uint64_t highest) {
  const auto value = Decimal(text);
  if (!value || *value > highest) return std::nullopt;
  return static_cast<int>(*value);
}

// "year-month-day hour:minute:second.millisecond", plain decimals.
void AppendTime(std::string& out, const LocalTime& t) {
  out += std::to_string(t.year) + '-' + std::to_string(t.month) + '-' + std::to_string(t.day) + ' ' +
         std::to_string(t.hour) + ':' + std::to_string(t.minute) + ':' + std::to_string(t.second) + '.' +
         std::to_string(t.millisecond);
}

// Cuts `text` at the first `separator`; the part before it, nullopt when there is none.
std::optional<std::string_view> CutAt(std::string_view& text, char separator) {
  const std::size_t at = text.find(separator);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view head = text.substr(0, at);
  text.remove_prefix(at + 1);
  return head;
}

std::optional<LocalTime> ParseTime(std::string_view text) {
  const auto year = CutAt(text, '-');
  const auto month = CutAt(text, '-');
  const auto day = CutAt(text, ' ');
  const auto hour = CutAt(text, ':');
  const auto minute = CutAt(text, ':');
  const auto second = CutAt(text, '.');
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  const auto y = DecimalUpTo(*year, 99999);
  const auto mo = DecimalUpTo(*month, 12);
  const auto d = DecimalUpTo(*day, 31);
  const auto h = DecimalUpTo(*hour, 23);
  const auto mi = DecimalUpTo(*minute, 59);
  const auto s = DecimalUpTo(*second, 59);
  const auto ms = DecimalUpTo(text, 999);
  if (!y || !mo || !d || !h || !mi || !s || !ms) return std::nullopt;
  return LocalTime{*y, *mo, *d, *h, *mi, *s, *ms};
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t at = line.find(kField);
    fields.push_back(line.substr(0, at));
    if (at == std::string_view::npos) return fields;
    line.remove_prefix(at + 1);
  }
}

std::string* KeyField(ArchiveKeyValues& keys, std::size_t index) {
  std::string* const fields[] = {&keys.mark,   &keys.location,  &keys.note,        &keys.files,
                                 &keys.dirs,   &keys.size,      &keys.date,        &keys.number,
                                 &keys.lastCheck, &keys.checkResult, &keys.encoding, &keys.source,
                                 &keys.sourcePath, &keys.volumeSerial, &keys.volumeLabel};
  return fields[index];
}
constexpr std::size_t kKeyFields = 15;

// Empty for none; an unreadable archive has none.
std::optional<std::optional<std::uint64_t>> ParseReadBefore(std::string_view text, bool readable) {
  if (text.empty()) return std::optional<std::uint64_t>();
  const auto value = Decimal(text);
  if (!readable || !value || *value > kLongestReadBeforeWritingMs) return std::nullopt;
  return std::optional<std::uint64_t>(*value);
}

std::optional<SummaryEntry> ParseEntry(const std::vector<std::string_view>& fields) {
  if (fields.size() != kEntryFields) return std::nullopt;
  SummaryEntry entry;
  auto path = Unescaped(fields[0]);
  const auto size = Decimal(fields[1]);
  const auto time = ParseTime(fields[2]);
  const bool readable = fields[3] == kReadable;
  if (!path || path->empty() || !size || !time || (!readable && fields[3] != kUnreadable)) return std::nullopt;
  const auto readBefore = ParseReadBefore(fields[4], readable);
  if (!readBefore) return std::nullopt;
  entry.relativePath = std::move(*path);
  entry.size = *size;
  entry.lastWrite = *time;
  entry.readable = readable;
  entry.readBeforeWritingMs = *readBefore;
  for (std::size_t i = 0; i < kKeyFields; ++i) {
    auto value = Unescaped(fields[5 + i]);
    // An unreadable archive has no keys to tell.
    if (!value || (!readable && !value->empty())) return std::nullopt;
    *KeyField(entry.keys, i) = std::move(*value);
  }
  return entry;
}

void AppendEntry(std::string& out, const SummaryEntry& entry) {
  AppendEscaped(out, entry.relativePath);
  out += kField;
  out += std::to_string(entry.size);
  out += kField;
  AppendTime(out, entry.lastWrite);
  out += kField;
  out += entry.readable ? kReadable : kUnreadable;
  out += kField;
  if (entry.readable && entry.readBeforeWritingMs) out += std::to_string(*entry.readBeforeWritingMs);
  ArchiveKeyValues keys = entry.readable ? entry.keys : ArchiveKeyValues{};
  for (std::size_t i = 0; i < kKeyFields; ++i) {
    out += kField;
    AppendEscaped(out, *KeyField(keys, i));
  }
  out += kLineEnd;
}

}  // namespace

SummaryEntry AsKept(SummaryEntry entry) {
  if (!entry.readable) return entry;
  std::string record;
  AppendEntry(record, entry);
  if (record.size() > kLongestSummaryRecord) {
    entry.readable = false;
    entry.readBeforeWritingMs.reset();
    entry.keys = {};
  }
  return entry;
}

ArchiveKeyValues ReadArchiveKeyValues(FileSystem& fs, const std::string& path, const TextServices& services) {
  const ArchiveText text = ArchiveText::LoadKeyBlock(fs, path, services);
  ArchiveKeyValues keys;
  keys.mark = text.ReadKey(kAMark);
  keys.location = text.ReadKey(kALocation);
  keys.note = text.ReadKey(kANote);
  keys.files = text.ReadKey(kAFiles);
  keys.dirs = text.ReadKey(kADirs);
  keys.size = text.ReadKey(kASize);
  keys.date = text.ReadKey(kADate);
  keys.number = text.ReadKey(kANumber);
  keys.lastCheck = text.ReadKey(kALastCheck);
  keys.checkResult = text.ReadKey(kACheckResult);
  keys.encoding = text.ReadKey(kAEncoding);
  keys.source = text.ReadKey(kASource);
  keys.sourcePath = text.ReadKey(kASourcePath);
  keys.volumeSerial = text.ReadKey(kAVolumeSerial);
  keys.volumeLabel = text.ReadKey(kAVolumeLabel);
  return keys;
}

std::string SerializeKeySummary(const KeySummary& summary) {
  std::string out;
  out.reserve(128 + summary.entries.size() * 128);
  out += kFormatName;
  out += kField;
  out += kVersion;
  out += kField;
  AppendEscaped(out, summary.catalogFolder);
  out += kLineEnd;
  for (const SummaryEntry& entry : summary.entries) AppendEntry(out, entry);
  out += kEndName;
  out += kField;
  out += std::to_string(summary.entries.size());
  out += kLineEnd;
  return out;
}

std::optional<KeySummary> ParseKeySummary(std::string_view bytes) {
  KeySummary summary;
  std::unordered_set<std::string_view> paths;
  bool first = true;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find(kLineEnd);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end + kLineEnd.size());
    const auto fields = Fields(line);
    if (first) {
      if (fields.size() != 3 || fields[0] != kFormatName || fields[1] != kVersion) return std::nullopt;
      auto folder = Unescaped(fields[2]);
      if (!folder) return std::nullopt;
      summary.catalogFolder = std::move(*folder);
      first = false;
      continue;
    }
    if (fields.size() == 2 && fields[0] == kEndName) {
      // Nothing may follow the end line, and it counts every entry.
      const auto count = Decimal(fields[1]);
      if (!bytes.empty() || !count || *count != summary.entries.size()) return std::nullopt;
      return summary;
    }
    auto entry = ParseEntry(fields);
    if (!entry) return std::nullopt;
    summary.entries.push_back(std::move(*entry));
    if (!paths.insert(line.substr(0, line.find(kField))).second) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::size_t> SummaryBytesBound(std::string_view tail) {
  if (!tail.ends_with(kLineEnd)) return std::nullopt;
  tail.remove_suffix(kLineEnd.size());
  const std::size_t before = tail.rfind(kLineEnd);
  if (before == std::string_view::npos) return std::nullopt;
  const auto fields = Fields(tail.substr(before + kLineEnd.size()));
  if (fields.size() != 2 || fields[0] != kEndName) return std::nullopt;
  const auto count = Decimal(fields[1]);
  if (!count || *count > kMostSummaryArchives) return std::nullopt;
  return kFirstLineBytes + static_cast<std::size_t>(*count) * kLongestSummaryRecord;
}

std::int64_t MillisecondsOf(const LocalTime& time) {
  // Days from the civil date (the proleptic Gregorian calendar).
  const std::int64_t year = time.year - (time.month <= 2 ? 1 : 0);
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t month = time.month;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + time.day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  const std::int64_t days = era * 146097 + dayOfEra;
  return ((days * 24 + time.hour) * 60 + time.minute) * 60000 + time.second * 1000 + time.millisecond;
}

}  // namespace discovel
