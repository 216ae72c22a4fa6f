#pragma once
// The folders a walk has open, from its root down to the one it is in. A folder
// reached again through a link (a junction, a symbolic link, a Unix symlink
// under Wine, a share's server following a link) is then already open, and
// walking it again would never end.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace discovel {

class FolderTrail {
 public:
  // `root` is the folder the walk starts in, with its trailing backslash.
  FolderTrail(FileSystem& fs, const std::string& root);

  // Runs `walk` for the subfolder `folder` with it open, unless it is open
  // already further up; returns what `walk` returned, true (go on) when skipped.
  // `listedNumber` is the folder's number as its parent's listing gave it (0:
  // none): a folder whose number no open one has is no loop, and the system
  // is asked nothing more of it.
  bool Enter(const std::string& folder, std::uint64_t listedNumber, const std::function<bool()>& walk);

 private:
  struct OpenFolder {
    std::string path;
    std::uint64_t number;
  };
  bool IsOpen(const std::string& folder, std::uint64_t number);

  FileSystem& m_fs;
  std::vector<OpenFolder> m_open;
};

}  // namespace discovel
