#include "backup/win32/BackupCommands.h"

#include <chrono>
#include <cstdio>

#include "backup/BackupFile.h"
#include "backup/CatalogBackup.h"
#include "backup/CatalogMerge.h"
#include "backup/CatalogRestore.h"
#include "backup/win32/BackupProgressWindow.h"
#include "backup/win32/SessionEndBlock.h"
#include "backup/win32/ZipFileDialogs.h"
#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "platform/FileSystem.h"
#include "platform/ScopeExit.h"
#include "platform/TextServices.h"
#include "ui/ErrorBox.h"
#include "ui/WindowPump.h"

namespace discovel {
namespace {

// The window stays responsive at 50 pumps a second without paying for a pump per file.
constexpr std::chrono::milliseconds kPumpInterval{20};

// A second entry while one works (the tray menu stays reachable) does nothing.
template <class Work>
void RunGuarded(RunState& run, Work work) {
  if (run.backupWorking) return;
  run.backupWorking = true;
  const ScopeExit done([&] { run.backupWorking = false; });
  GuardedCall(work);
}

// Runs `work` with a progress window titled `title` over the program.
template <class Work>
auto WithProgress(const char* title, Work work) {
  WindowPump windowPump;
  PacedPump pump(windowPump, kPumpInterval);
  BackupProgressWindow window(title);
  return work(BackupPacing{window, pump});
}

std::string ProposedName(const AppContext& context) {
  const LocalTime now = context.services.text.Now();
  char name[64];
  std::snprintf(name, sizeof name, "Discovel archives %04d-%02d-%02d.zip", now.year, now.month, now.day);
  return name;
}

std::size_t CountArchives(AppContext& context) {
  std::size_t count = 0;
  WalkCatalog(context.services.files, context.run.catalogFolder, kArchiveMask, [&](const std::string&) { ++count; });
  return count;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// True when the backup holds something to restore or merge; otherwise says so.
bool HoldsArchives(HWND owner, const BackupFile& backup, const std::string& zipPath) {
  if (!backup.Archives().empty()) return true;
  BackupReport report;
  report.skipped = backup.Refused();
  ShowAlert(owner, ReportText(report, Quoted(zipPath) + " holds no archives. The catalogue is unchanged."));
  return false;
}

}  // namespace

void BackupArchives(AppContext& context, HWND owner) {
  if (context.run.backupWorking) return;
  if (const auto path = AskZipToSave(owner, ProposedName(context))) BackupArchivesTo(context, owner, *path);
}

void RestoreArchives(AppContext& context, HWND owner) {
  if (context.run.backupWorking) return;
  if (const auto path = AskZipToOpen(owner)) RestoreArchivesFrom(context, owner, *path);
}

void MergeArchives(AppContext& context, HWND owner) {
  if (context.run.backupWorking) return;
  if (const auto path = AskZipToOpen(owner)) MergeArchivesFrom(context, owner, *path);
}

void BackupArchivesTo(AppContext& context, HWND owner, const std::string& zipPath) {
  RunGuarded(context.run, [&] {
    const std::size_t count = WithProgress("Backup", [&](const BackupPacing& pacing) {
      return BackupCatalog(context.services.files, context.run.catalogFolder, zipPath, pacing);
    });
    ShowAlert(owner, count == 0 ? std::string("The catalogue holds no archives to back up.")
                                : "Backed up " + ArchiveCount(count) + " to " + Quoted(zipPath) + ".");
  });
}

void RestoreArchivesFrom(AppContext& context, HWND owner, const std::string& zipPath) {
  RunGuarded(context.run, [&] {
    const BackupFile backup(context.services.files, context.services.text, zipPath);
    if (!HoldsArchives(owner, backup, zipPath)) return;
    const std::string question = "Replace the catalogue (" + ArchiveCount(CountArchives(context)) + " now) with the " +
                                 ArchiveCount(backup.Archives().size()) + " of " + Quoted(zipPath) +
                                 "?\r\n\r\nEverything now in the catalogue folder will be deleted.";
    if (!Confirm(owner, question)) return;
    const BackupReport report = [&] {
      const SessionEndBlock block(context.run, owner, L"Restoring the catalogue of discs.");
      return WithProgress("Restore", [&](const BackupPacing& pacing) {
        return RestoreCatalog(context.services.files, context.services.text, context.run.catalogFolder, backup, pacing);
      });
    }();
    ShowAlert(owner, ReportText(report, "Restored " + ArchiveCount(report.added.size()) + " from " + Quoted(zipPath) +
                                            ", skipped " + std::to_string(report.skipped.size()) + "."));
  });
}

void MergeArchivesFrom(AppContext& context, HWND owner, const std::string& zipPath) {
  RunGuarded(context.run, [&] {
    const BackupFile backup(context.services.files, context.services.text, zipPath);
    if (!HoldsArchives(owner, backup, zipPath)) return;
    const BackupReport report = WithProgress("Merge", [&](const BackupPacing& pacing) {
      return MergeCatalog(context.services.files, context.services.text, context.run.catalogFolder, backup, pacing);
    });
    ShowAlert(owner, ReportText(report, "Added " + ArchiveCount(report.added.size()) + " from " + Quoted(zipPath) +
                                            ", skipped " + std::to_string(report.skipped.size()) + "."));
  });
}

}  // namespace discovel
