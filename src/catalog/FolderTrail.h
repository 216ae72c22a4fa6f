#pragma once
// The folders a walk has open, from its root down to the one it is in. A folder
// reached again through a link (a junction, a symbolic link, a Unix symlink
// under Wine) is then already open, and walking it again would never end.
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
  bool Enter(const std::string& folder, const std::function<bool()>& walk);

 private:
  FileSystem& m_fs;
  std::vector<std::string> m_open;
};

}  // namespace discovel
