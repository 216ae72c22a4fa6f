#pragma once
// The command ids of the main window: its menu items and buttons send them.
// Tests and the end-to-end driver send them too.
#include <windows.h>

namespace discovel::fmMainIds {

enum : UINT {
  kAdd = 100,
  kCatalog,
  kExit,
  kSearch,
  kOpenCD,
  kCloseCD,
  kPromptOnExit,
  kRunMinimized,
  kConsecutive,
  kRunAtStartUp,
  kShowTrayIcon,
  kShowInTaskBar,
  kMinimize,  // the tray icon's menu
  kShow,
  kBackup,
  kRestore,
  kMerge,
  kSetDevice,
  kAbout,
  kFindDuplicates,
  kCheckDisc,
  kAddDrive,
  kWebFirst,  // the web entries, in the order of WebLink
};

}  // namespace discovel::fmMainIds
