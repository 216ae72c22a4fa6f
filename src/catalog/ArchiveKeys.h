#pragma once
// The key lines that end every archive, and the values the writer gives them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace discovel {

inline constexpr std::string_view kADate = "ADate";
inline constexpr std::string_view kAMark = "AMark";
inline constexpr std::string_view kALocation = "ALocation";
inline constexpr std::string_view kACRC = "ACRC";
inline constexpr std::string_view kAFiles = "AFiles";
inline constexpr std::string_view kADirs = "ADirs";
inline constexpr std::string_view kANote = "ANote";
inline constexpr std::string_view kASize = "ASize";
inline constexpr std::string_view kANumber = "ANumber";
inline constexpr std::string_view kASource = "ASource";
inline constexpr std::string_view kAPicture = "APicture";
inline constexpr std::string_view kAEnd = "AEnd";
// The last disc check: its moment (MS-DOS packed) and "OK" or what it found.
// Set on an archive by the check, never by the writer.
inline constexpr std::string_view kALastCheck = "ALastCheck";
inline constexpr std::string_view kACheckResult = "ACheckResult";
// Lines per file entry; read when present, never written.
inline constexpr std::string_view kAPars = "APars";
// Where a drive's or folder's listing came from, after the twelve lines: the
// path as chosen, its volume's serial number and label.
inline constexpr std::string_view kASourcePath = "ASourcePath";
inline constexpr std::string_view kAVolumeSerial = "AVolumeSerial";
inline constexpr std::string_view kAVolumeLabel = "AVolumeLabel";

inline constexpr std::string_view kSourceValue = "CD/DVD";
inline constexpr std::string_view kEndValue = "EndTag";
inline constexpr std::size_t kDefaultEntryStride = 4;

enum class SourceKind { kDisc, kRemovable, kFixed, kNetwork, kFolder };

struct ArchiveSource {
  SourceKind kind = SourceKind::kDisc;
  // As chosen, with a trailing backslash: "E:\", "E:\Photos\",
  // "\\server\share\Photos\"; "" for a disc.
  std::string path;
  std::optional<std::uint32_t> serial;  // of the volume that holds the path
  std::string label;                    // that volume's label
};

struct ArchiveKeys {
  std::int32_t date = 0;  // MS-DOS packed moment of saving
  std::string mark;
  std::string location;
  std::string crc;  // the listing checksum text, also the file name stem
  std::int64_t files = 0;
  std::int64_t dirs = 0;
  std::string note;
  std::int64_t size = 0;
  std::int32_t number = 0;
  ArchiveSource source;  // a disc unless told otherwise
};

}  // namespace discovel
