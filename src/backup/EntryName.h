#pragma once
// Which names of a backup may become files of the catalogue: plain relative
// paths of archives (*.dat) that stay inside the catalogue folder.
#include <string>
#include <string_view>

namespace discovel {

struct EntryNameVerdict {
  enum class Kind { Archive, Folder, Refused };
  Kind kind = Kind::Refused;
  // Archive: the path below the catalogue folder, with backslashes.
  std::string relativePath;
  // Refused: why, as the report tells it.
  std::string reason;
};

EntryNameVerdict JudgeEntryName(std::string_view name);

// The zip name of an archive at `relativePath` (backslashes) below the catalogue folder.
std::string ZipNameOf(std::string_view relativePath);

}  // namespace discovel
