#include "backup/ZipWriter.h"

#include <zlib.h>

#include <algorithm>

#include "backup/ZipFormat.h"
#include "platform/AppError.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

using namespace zipformat;

constexpr char kTooLarge[] = "The catalogue is too large for a backup file (more than 4 GiB).";

// Fed in pieces, with the windows pumped between them: one large archive
// must not freeze the program while it is packed.
std::string Deflate(std::string_view data, UiPump* pump) {
  z_stream stream{};
  // Negative window bits: a raw deflate stream, as zip entries hold it.
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw AppError("Cannot start compressing the backup.");
  }
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  std::size_t fed = 0;
  int result = Z_OK;
  while (result == Z_OK) {
    const std::size_t piece = std::min(kPumpedPiece, data.size() - fed);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + fed));
    stream.avail_in = static_cast<uInt>(piece);
    fed += piece;
    result = deflate(&stream, fed == data.size() ? Z_FINISH : Z_NO_FLUSH);
    if (pump) pump->Pump();
  }
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw AppError("Cannot compress the backup.");
  return out;
}

}  // namespace

void ZipWriter::Add(std::string_view name, std::string_view data, std::int32_t dosTime, UiPump* pump) {
  if (m_count == kMaxEntries) throw AppError("The catalogue holds too many archives for a backup file.");
  if (data.size() > kMaxSize || name.size() > 0xFFFF) throw AppError(kTooLarge);
  const std::string packed = Deflate(data, pump);
  const std::uint64_t offset = m_body.size();
  if (offset + kLocalHeaderSize + name.size() + packed.size() > kMaxSize) throw AppError(kTooLarge);

  const bool utf8Name = !utf8::IsAscii(name);
  const std::uint32_t crc = Crc32(data);
  const auto time = static_cast<std::uint32_t>(dosTime);
  // The fields that the local header and the directory record share, in order.
  std::string common;
  Put16(common, kVersionNeeded);
  Put16(common, utf8Name ? kFlagUtf8Name : 0);
  Put16(common, kMethodDeflated);
  Put16(common, time & 0xFFFF);
  Put16(common, time >> 16);
  Put32(common, crc);
  Put32(common, static_cast<std::uint32_t>(packed.size()));
  Put32(common, static_cast<std::uint32_t>(data.size()));
  Put16(common, static_cast<std::uint32_t>(name.size()));
  Put16(common, 0);  // extra field length

  Put32(m_body, kLocalSignature);
  m_body += common;
  m_body += name;
  m_body += packed;

  Put32(m_directory, kCentralSignature);
  // Info-ZIP's unzip reads a name made on MS-DOS in the OEM code page even
  // when it is marked as UTF-8; NTFS has the same attributes and is read as
  // marked. An ASCII name says MS-DOS, as earlier versions wrote it.
  Put16(m_directory, (utf8Name ? kMadeOnNtfs : kMadeOnMsDos) | kVersionNeeded);
  m_directory += common;
  Put16(m_directory, 0);     // comment length
  Put16(m_directory, 0);     // disk number
  Put16(m_directory, 0);     // internal attributes
  Put32(m_directory, 0x20);  // external attributes: FILE_ATTRIBUTE_ARCHIVE
  Put32(m_directory, static_cast<std::uint32_t>(offset));
  m_directory += name;
  ++m_count;
}

std::string ZipWriter::Finish() {
  if (static_cast<std::uint64_t>(m_body.size()) + m_directory.size() > kMaxSize) throw AppError(kTooLarge);
  std::string zip = std::move(m_body);
  const auto directoryOffset = static_cast<std::uint32_t>(zip.size());
  zip += m_directory;
  Put32(zip, kEndSignature);
  Put16(zip, 0);  // this disk
  Put16(zip, 0);  // disk of the directory
  Put16(zip, static_cast<std::uint32_t>(m_count));
  Put16(zip, static_cast<std::uint32_t>(m_count));
  Put32(zip, static_cast<std::uint32_t>(m_directory.size()));
  Put32(zip, directoryOffset);
  Put16(zip, 0);  // comment length
  m_body.clear();
  m_directory.clear();
  m_count = 0;
  return zip;
}

}  // namespace discovel
