#pragma once
// Where an archive's listing came from: a CD/DVD in the read device, as every
// earlier version wrote, or a drive or folder. The kind is the value of
// ASource; a drive or folder also has keys after the twelve that say which
// volume and path it was, so that its files can be found again on whatever
// letter the volume has now.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ArchiveKeys.h"

namespace discovel {


// ASource's value: "CD/DVD", "Removable", "Fixed", "Network", "Folder".
std::string_view SourceKindText(SourceKind kind);
// The kind ASource names; any other value (or none) is a disc, as earlier
// versions wrote only that.
SourceKind SourceKindNamed(std::string_view value);

// A volume's serial number as the system shows it: "1A2B-3C4D".
std::string FormatVolumeSerial(std::uint32_t serial);
// Reads FormatVolumeSerial's text back (either letter case); nullopt for any other.
std::optional<std::uint32_t> ParseVolumeSerial(std::string_view text);

// The source of the archive whose keys `valueOf` gives (nullopt: absent). A
// disc's source has no path, serial or label.
template <class ValueOf>
ArchiveSource SourceFromKeys(const ValueOf& valueOf);

// The path of `path` within its volume, from the root's backslash on ("\",
// "\Photos\"), for a drive path; a share's path ("\\server\share\...") whole.
std::string PathWithinVolume(std::string_view path);

// Whether two sources are the same root of the same volume: same serial and
// the same path within the volume, letter case aside. A removable disk that
// comes back under another letter is still the same. Discs are never the same
// source: a disc is known by its listing.
bool IsSameSource(const ArchiveSource& a, const ArchiveSource& b);

// What the system tells about one mounted volume. A drive without a readable
// medium (an empty card reader) has only its root and type.
struct MountedVolume {
  std::string root;      // "E:\", or a share's "\\server\share\"
  unsigned driveType = 0;  // the platform's code (DriveQueries.h)
  std::string label;
  std::string fileSystem;  // "NTFS", "FAT32", ...
  std::optional<std::uint32_t> serial;
  std::optional<std::uint64_t> totalBytes;
  std::optional<std::uint64_t> freeBytes;
};

// Where the source's path is now: on the drive that holds its volume (by
// serial: a USB disk often comes back under another letter; its former
// letter first when several volumes share a serial), or a share's path as it
// stands. nullopt for a disc, and when the volume is mounted nowhere.
std::optional<std::string> SourcePathNow(const ArchiveSource& source, const std::vector<MountedVolume>& volumes);

// The name proposed for a new archive of `source`: the volume's label, for a
// folder its name, when no archive carries that mark yet (`markTaken`);
// otherwise `numbered`.
std::string ProposedMarkFor(const ArchiveSource& source, const std::function<bool(std::string_view)>& markTaken,
                            const std::string& numbered);

template <class ValueOf>
ArchiveSource SourceFromKeys(const ValueOf& valueOf) {
  ArchiveSource source;
  const std::optional<std::string_view> kind = valueOf(kASource);
  source.kind = SourceKindNamed(kind.value_or(std::string_view()));
  if (source.kind == SourceKind::kDisc) return source;
  source.path = std::string(valueOf(kASourcePath).value_or(std::string_view()));
  if (const auto serial = valueOf(kAVolumeSerial)) source.serial = ParseVolumeSerial(*serial);
  source.label = std::string(valueOf(kAVolumeLabel).value_or(std::string_view()));
  return source;
}

}  // namespace discovel
