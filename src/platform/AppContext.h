#pragma once
// What the windows of one run share, built once at start-up and handed to every
// form: where the catalogue lives, the read device, the stores and services, and
// the main window's switches that dialogs flip. Nothing of it is process-wide.
#include <string>

namespace discovel {

class FileSystem;
class Settings;
class TextServices;

struct AppContext {
  FileSystem& files;
  Settings& settings;
  const TextServices& text;
  // The folder "Archive\" beside the program, with its trailing backslash.
  std::string catalogFolder;
  // The CD/DVD drive that is scanned, ejected and closed; NUL when there is none.
  char readDevice = '\0';
  // The main window's Add New CD/DVD; the disc wait turns it off for the rest
  // of the run when there is no drive.
  bool addDiscEnabled = true;
};

}  // namespace discovel
