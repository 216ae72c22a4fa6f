#include "drives/DriveRows.h"

#include "catalog/ArchiveSource.h"
#include "drives/ByteSize.h"
#include "drives/DriveQueries.h"

namespace discovel {

std::string PlainVolumeRoot(std::string_view systemRoot) {
  constexpr std::string_view kExtendedUnc = "\\\\?\\UNC\\";
  constexpr std::string_view kExtended = "\\\\?\\";
  std::string root;
  if (systemRoot.substr(0, kExtendedUnc.size()) == kExtendedUnc) {
    root = "\\\\" + std::string(systemRoot.substr(kExtendedUnc.size()));
  } else if (systemRoot.substr(0, kExtended.size()) == kExtended) {
    root = std::string(systemRoot.substr(kExtended.size()));
  } else {
    root = std::string(systemRoot);
  }
  if (root.empty() || root.back() != '\\') root += '\\';
  return root;
}

std::optional<SourceKind> DriveKindOf(unsigned driveType) {
  switch (driveType) {
    case kDriveRemovable:
      return SourceKind::kRemovable;
    case kDriveFixed:
    case kDriveRamDisk:
      return SourceKind::kFixed;
    case kDriveRemote:
      return SourceKind::kNetwork;
    default:
      return std::nullopt;
  }
}

std::vector<DriveRow> DriveRowsOf(const std::vector<MountedVolume>& volumes) {
  std::vector<DriveRow> rows;
  for (const MountedVolume& volume : volumes) {
    const std::optional<SourceKind> kind = DriveKindOf(volume.driveType);
    if (!kind) continue;
    rows.push_back({volume.root, *kind, volume.label, volume.fileSystem, volume.serial, volume.totalBytes,
                    volume.freeBytes});
  }
  return rows;
}

namespace drive_cells {
namespace {

// "E:" of "E:\"; a share's root as it stands, less its last backslash.
std::string ShortRoot(const std::string& root) {
  if (!root.empty() && root.back() == '\\') return root.substr(0, root.size() - 1);
  return root;
}

const char* UnnamedDrive(SourceKind kind) {
  switch (kind) {
    case SourceKind::kRemovable:
      return "Removable Disk";
    case SourceKind::kNetwork:
      return "Network Drive";
    default:
      return "Local Disk";
  }
}

std::string SizeText(const std::optional<std::uint64_t>& bytes) { return bytes ? FormatByteSize(*bytes) : ""; }

}  // namespace

std::string Drive(const DriveRow& row) {
  const std::string name = row.label.empty() ? UnnamedDrive(row.kind) : row.label;
  return name + " (" + ShortRoot(row.root) + ")";
}

std::string Type(const DriveRow& row) { return std::string(SourceKindText(row.kind)); }

std::string FileSystem(const DriveRow& row) { return row.fileSystem; }

std::string Size(const DriveRow& row) { return SizeText(row.totalBytes); }

std::string Free(const DriveRow& row) { return SizeText(row.freeBytes); }

}  // namespace drive_cells

std::vector<std::string> DriveCells(const DriveRow& row) {
  std::vector<std::string> cells;
  cells.reserve(kDriveColumnCount);
  for (const DriveColumnRow& column : kDriveColumns) cells.push_back(column.cell(row));
  return cells;
}

}  // namespace discovel
