#pragma once
// The rows of the add-drive chooser: every mounted volume that can be
// catalogued as a drive (removable, fixed, network), with the texts of its
// cells. CD/DVD drives are the read device's and never among them.
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/ArchiveKeys.h"
#include "catalog/ArchiveSource.h"
#include "ui/core/ListColumns.h"

namespace discovel {

struct DriveRow {
  std::string root;  // "E:\"
  SourceKind kind = SourceKind::kFixed;
  std::string label;
  std::string fileSystem;
  std::optional<std::uint32_t> serial;
  std::optional<std::uint64_t> totalBytes;
  std::optional<std::uint64_t> freeBytes;
};

// The root the system names for a volume in the plain form the program shows
// and stores: without "\\?\" ("\\?\UNC\server\share" is
// "\\server\share"), ending in a backslash.
std::string PlainVolumeRoot(std::string_view systemRoot);

// The kind a drive of the platform's type code is catalogued as: a RAM disk
// as a fixed one; nullopt for a CD/DVD drive and for a type without a drive.
std::optional<SourceKind> DriveKindOf(unsigned driveType);

// The rows of the volumes that are drives of a kind, in the order given.
std::vector<DriveRow> DriveRowsOf(const std::vector<MountedVolume>& volumes);

// The cells of a row.
namespace drive_cells {
// "STICK (E:)"; without a label the name Explorer gives such a drive:
// "Local Disk (C:)", "Removable Disk (E:)", "Network Drive (Z:)".
std::string Drive(const DriveRow& row);
// "Removable", "Fixed", "Network".
std::string Type(const DriveRow& row);
std::string FileSystem(const DriveRow& row);
// As FormatByteSize gives them; empty while no medium is there.
std::string Size(const DriveRow& row);
std::string Free(const DriveRow& row);
}  // namespace drive_cells

enum class DriveColumn { kDrive, kType, kFileSystem, kSize, kFree };

struct DriveColumnRow {
  DriveColumn key;
  ColumnLook look;
  std::string (*cell)(const DriveRow& row);
};

// The drive's name takes the room the others leave.
inline constexpr DriveColumnRow kDriveColumns[] = {
    {DriveColumn::kDrive, {"Drive", {150, 60, 0, 1}}, drive_cells::Drive},
    {DriveColumn::kType, {"Type", {70, 30}}, drive_cells::Type},
    {DriveColumn::kFileSystem, {"File System", {75, 30}}, drive_cells::FileSystem},
    {DriveColumn::kSize, {"Size", {70, 30}, ColumnAlign::Right}, drive_cells::Size},
    {DriveColumn::kFree, {"Free", {70, 30}, ColumnAlign::Right}, drive_cells::Free},
};
inline constexpr int kDriveColumnCount = static_cast<int>(std::size(kDriveColumns));

constexpr int DriveColumnIndex(DriveColumn key) { return ColumnIndex(kDriveColumns, key); }

// The cells of a row in the table's order.
std::vector<std::string> DriveCells(const DriveRow& row);

}  // namespace discovel
