#include "app/StartUp.h"

#include <windows.h>

#include "backup/CatalogRestore.h"
#include "catalog/CatalogFolder.h"
#include "drives/DriveRules.h"
#include "drives/win32/Autoplay.h"
#include "drives/win32/Win32DriveQueries.h"
#include "platform/FileSystem.h"
#include "settings/SettingsNames.h"

namespace discovel {
namespace {

// An empty drive must never bring up the system's "insert a disk" box. The
// error mode is process-wide, so it is set once for the whole run (other
// threads read files meanwhile) and the bits already set are kept.
void FailCriticalErrorsQuietly() { SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS); }

void PrepareCatalogFolder(AppServices& services, RunState& run, const std::string& programPath) {
  run.catalogFolder = CatalogFolderFor(programPath);
  // A restore that could move neither catalogue into place left the old one
  // beside it: it goes back before an empty folder could take its place.
  RecoverReplacedCatalog(services.files, run.catalogFolder);
  // A folder that cannot be created is not reported here: the first save says so.
  if (!services.files.FolderExists(run.catalogFolder)) services.files.CreateFolders(run.catalogFolder);
}

}  // namespace

Preferences StartUp(AppContext& context, const std::string& programPath, int argumentCount) {
  AppServices& services = context.services;
  services.settings.WriteString(names::kKeyState, names::kProgramLocation, programPath);
  FailCriticalErrorsQuietly();
  RestoreAutoplay();
  PrepareCatalogFolder(services, context.run, programPath);

  // A value of the wrong type reads as its default and is mended by the
  // store, silently: no box comes before the main window.
  Preferences preferences(services.settings, programPath);
  preferences.Restore(services.settings, services.text, argumentCount);
  context.run.readDevice = ChooseReadDeviceAtStartup(services.settings, SystemDriveQueries());
  return preferences;
}

}  // namespace discovel
