#pragma once
// Archives in the code page keep names trimmed of leading and trailing
// blanks, and as the code page gave them to earlier versions ("??.txt" for
// "日本.txt", "A.txt" for "Ā.txt"), but a disc may have "notes.txt " or a
// folder " Photos": to open such a file again its path is found by the names
// the disc gives.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/TextServices.h"

namespace discovel {

// How the archive holds the file.
struct StoredAs {
  // Set for an archive in the code page: its names are compared in the form
  // earlier versions stored them.
  const TextServices* codePage = nullptr;
  // The file as catalogued: of several entries that store as the same name,
  // the one of this size (and time) is taken.
  std::optional<std::int64_t> size;
  std::optional<std::int32_t> dosTime;
};

// The path of the file listed under the folder line `directory` ("\" for the
// root) and `file` below `root` ("D:\"), as the disc names it: the plain path
// when a file is there, else the one whose folders and name, in the form the
// archive stores them, are those listed (letter case aside); nullopt when
// there is none.
std::optional<std::string> FindAsOnDisc(FileSystem& fs, std::string_view root, std::string_view directory,
                                        std::string_view file, const StoredAs& stored = {});

}  // namespace discovel
