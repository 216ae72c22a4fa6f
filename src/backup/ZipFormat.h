#pragma once
// The little-endian records of the zip format that the writer and the reader share.
#include <cstdint>
#include <string>
#include <string_view>

namespace discovel::zipformat {

inline constexpr std::uint32_t kLocalSignature = 0x04034b50;
inline constexpr std::uint32_t kCentralSignature = 0x02014b50;
inline constexpr std::uint32_t kEndSignature = 0x06054b50;
// Stands right before the end record of a ZIP64 file.
inline constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
inline constexpr std::size_t kZip64LocatorSize = 20;
inline constexpr std::size_t kLocalHeaderSize = 30;
inline constexpr std::size_t kCentralHeaderSize = 46;
inline constexpr std::size_t kEndRecordSize = 22;
inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodDeflated = 8;
inline constexpr std::uint16_t kVersionNeeded = 20;  // 2.0: deflate and folders
// The high byte of "version made by": the file system the entry came from.
inline constexpr std::uint16_t kMadeOnMsDos = 0 << 8;
inline constexpr std::uint16_t kMadeOnNtfs = 10 << 8;
inline constexpr std::uint16_t kFlagEncrypted = 0x0001;
// Bit 11, the language encoding flag: the entry's name is UTF-8. Without it
// the name is in the code page of the system that wrote it.
inline constexpr std::uint16_t kFlagUtf8Name = 0x0800;
// The largest size or offset without ZIP64.
inline constexpr std::uint64_t kMaxSize = 0xFFFFFFFFu;
// 0xFFFF itself is a plain count: only a ZIP64 locator makes it a marker.
inline constexpr std::size_t kMaxEntries = 0xFFFF;
// How much is packed or unpacked between two pumps of the windows.
inline constexpr std::size_t kPumpedPiece = 1 << 20;

inline void Put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
inline void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
// The caller has checked that `at + 2` (or 4) bytes exist.
inline std::uint16_t Get16(std::string_view in, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(in[at]) |
                                    static_cast<unsigned char>(in[at + 1]) << 8);
}
inline std::uint32_t Get32(std::string_view in, std::size_t at) {
  return Get16(in, at) | static_cast<std::uint32_t>(Get16(in, at + 2)) << 16;
}

std::uint32_t Crc32(std::string_view data);

}  // namespace discovel::zipformat
