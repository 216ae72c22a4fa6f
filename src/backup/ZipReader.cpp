#include "backup/ZipReader.h"

#include <zlib.h>

#include <algorithm>

#include "backup/ZipFormat.h"
#include "platform/AppError.h"

namespace discovel {
namespace {

using namespace zipformat;

[[noreturn]] void Damaged(std::string_view why) { throw AppError(DamagedMessage(why)); }

// Deflate cannot shrink data by more than about 1:1032, so a larger claim is
// a lie that would only make us allocate in vain.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

std::size_t FindEndRecord(std::string_view bytes) {
  if (bytes.size() < kEndRecordSize) Damaged("it is too short to be a zip file");
  // The record stands at the very end unless a comment (up to 64 KiB) follows it.
  const std::size_t last = bytes.size() - kEndRecordSize;
  const std::size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
  for (std::size_t at = last + 1; at-- > first;) {
    if (Get32(bytes, at) == kEndSignature && at + kEndRecordSize + Get16(bytes, at + 20) == bytes.size()) {
      return at;
    }
  }
  Damaged("no zip directory at its end");
}

}  // namespace

std::string DamagedMessage(std::string_view why) {
  return "The backup file is damaged or is no zip file (" + std::string(why) + ").";
}

ZipReader::ZipReader(std::string_view bytes, const TextServices& text) : m_bytes(bytes) {
  const std::size_t end = FindEndRecord(bytes);
  const std::uint16_t count = Get16(bytes, end + 10);
  const std::uint32_t directorySize = Get32(bytes, end + 12);
  const std::uint32_t directoryOffset = Get32(bytes, end + 16);
  if (Get16(bytes, end + 4) != 0 || Get16(bytes, end + 6) != 0 || Get16(bytes, end + 8) != count) {
    Damaged("it is split over several files");
  }
  // A field at its largest value is a ZIP64 marker only when a ZIP64 locator
  // precedes the record; otherwise it is the value itself (65,535 archives
  // fit without ZIP64, and this program's writer stores them so).
  const bool marked = count == 0xFFFF || directorySize == 0xFFFFFFFFu || directoryOffset == 0xFFFFFFFFu;
  if (marked && end >= kZip64LocatorSize && Get32(bytes, end - kZip64LocatorSize) == kZip64LocatorSignature) {
    Damaged("ZIP64 extensions are not supported");
  }
  if (std::uint64_t{directoryOffset} + directorySize > end) Damaged("the directory lies outside the file");

  std::size_t at = directoryOffset;
  const std::size_t directoryEnd = directoryOffset + directorySize;
  m_entries.reserve(count);
  for (std::uint16_t i = 0; i < count; ++i) {
    if (at + kCentralHeaderSize > directoryEnd || Get32(bytes, at) != kCentralSignature) {
      Damaged("a directory record is broken");
    }
    ZipEntry entry;
    const std::uint16_t flags = Get16(bytes, at + 8);
    entry.method = Get16(bytes, at + 10);
    entry.dosTime = static_cast<std::int32_t>(Get32(bytes, at + 12));
    entry.crc = Get32(bytes, at + 16);
    entry.packedSize = Get32(bytes, at + 20);
    entry.size = Get32(bytes, at + 24);
    const std::size_t nameLength = Get16(bytes, at + 28);
    const std::size_t recordEnd = at + kCentralHeaderSize + nameLength + Get16(bytes, at + 30) + Get16(bytes, at + 32);
    const std::uint32_t localOffset = Get32(bytes, at + 42);
    if (recordEnd > directoryEnd) Damaged("a directory record is broken");
    const std::string_view storedName = bytes.substr(at + kCentralHeaderSize, nameLength);
    entry.name = flags & kFlagUtf8Name ? std::string(storedName) : text.FromCodePage(storedName);
    if (flags & kFlagEncrypted) Damaged("\"" + entry.name + "\" is encrypted");
    if (entry.method != kMethodStored && entry.method != kMethodDeflated) {
      Damaged("\"" + entry.name + "\" uses a compression Discovel cannot read");
    }
    if (std::uint64_t{localOffset} + kLocalHeaderSize > directoryOffset || Get32(bytes, localOffset) != kLocalSignature) {
      Damaged("the header of \"" + entry.name + "\" is missing");
    }
    // The local header's own name and extra lengths may differ from the directory's.
    entry.dataOffset = localOffset + kLocalHeaderSize + Get16(bytes, localOffset + 26) + Get16(bytes, localOffset + 28);
    if (std::uint64_t{entry.dataOffset} + entry.packedSize > directoryOffset) {
      Damaged("the data of \"" + entry.name + "\" is cut short");
    }
    const bool plausible = entry.method == kMethodStored
                               ? entry.size == entry.packedSize
                               : entry.size <= std::uint64_t{entry.packedSize} * kMaxDeflateRatio + 64;
    if (!plausible) Damaged("the sizes of \"" + entry.name + "\" do not match");
    m_entries.push_back(std::move(entry));
    at = recordEnd;
  }
}

std::string ZipReader::Extract(const ZipEntry& entry, UiPump* pump) const {
  const std::string_view packed = m_bytes.substr(entry.dataOffset, entry.packedSize);
  std::string data;
  if (entry.method == kMethodStored) {
    data.assign(packed);
  } else {
    data.assign(entry.size, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw AppError("Cannot start reading the backup.");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    int result = Z_OK;
    // Z_BUF_ERROR: no progress is possible, the stream wants more room or more input than there is.
    while (result == Z_OK) {
      stream.next_out = reinterpret_cast<Bytef*>(data.data() + stream.total_out);
      stream.avail_out = static_cast<uInt>(std::min<std::size_t>(kPumpedPiece, data.size() - stream.total_out));
      result = inflate(&stream, Z_NO_FLUSH);
      if (pump) pump->Pump();
    }
    const bool whole = result == Z_STREAM_END && stream.total_out == entry.size;
    inflateEnd(&stream);
    if (!whole) Damaged("the data of \"" + entry.name + "\" cannot be unpacked");
  }
  if (Crc32(data) != entry.crc) Damaged("the checksum of \"" + entry.name + "\" does not match");
  return data;
}

}  // namespace discovel
