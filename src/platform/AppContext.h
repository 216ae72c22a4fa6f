#pragma once
// What the windows of one run share, built once at start-up and handed to every
// form: the stores and services, which stay the same for the whole run, and the
// run's state, which start-up fills and the windows change as they go. Nothing
// of it is process-wide.
#include <string>

#include "catalog/ColumnSort.h"
#include "search/SearchSession.h"

namespace discovel {

class FileSystem;
class Settings;
class ShellLauncher;
class TextServices;

struct AppServices {
  FileSystem& files;
  Settings& settings;
  const TextServices& text;
  // Opens the found files; null: the system's shell.
  ShellLauncher* shell = nullptr;
};

// What the list windows keep from one opening to the next, for the rest of
// the run: the next opening starts where the last one ended.
struct ListMemory {
  // The search window's restriction, filters and sort.
  SearchSession search;
  ColumnSortState catalogSort;
  ColumnSortState duplicatesSort;
  ColumnSortState checkResultSort;
  ColumnSortState updateSort;
  ColumnSortState browseSort{0, true};  // by name, as a folder opens
  bool browseTreeBySize = false;  // the browser's tree lists the largest folders first
};

struct RunState {
  // The folder "Archive\" beside the program, with its trailing backslash.
  std::string catalogFolder;
  // The CD/DVD drive that is scanned, ejected and closed; NUL when there is
  // none. The read-device dialog changes it.
  char readDevice = '\0';
  // The main window's Add New CD/DVD; the disc wait turns it off for the rest
  // of the run when there is no drive.
  bool addDiscEnabled = true;
  ListMemory lists;
  // A backup, restore or merge is at work: another one (the tray menu stays
  // reachable) does nothing meanwhile.
  bool backupWorking = false;
  // The restores now moving the catalogue: while there is one, the main window
  // holds off the end of the Windows session.
  int sessionEndBlocks = 0;
};

struct AppContext {
  AppServices services;
  RunState run;
};

}  // namespace discovel
