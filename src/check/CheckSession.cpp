#include "check/CheckSession.h"

#include <vector>

#include "catalog/ArchiveKeys.h"
#include "catalog/CatalogQueries.h"
#include "catalog/TextUtil.h"
#include "drives/DriveReady.h"
#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "platform/ModalResult.h"
#include "scan/DiscIdentity.h"

namespace discovel {

CheckSession::CheckSession(const AppContext& context, UiPump& pump, CheckView& view, std::string discRoot,
                           std::optional<CheckTarget> target, DiscAccess access)
    : m_context(context),
      m_pump(pump),
      m_view(view),
      m_discRoot(std::move(discRoot)),
      m_target(target.value_or(CheckTarget{})),
      m_access(std::move(access)),
      m_scanner(context.services.files, pump),
      m_check(context.services.files, context.services.text, pump, view) {
  if (!m_access.ready) m_access.ready = [] { return true; };
  if (!m_access.waitForDisc) m_access.waitForDisc = [](std::string_view) { return kModalCancel; };
  if (!m_access.openTray) m_access.openTray = [] {};
}

void CheckSession::Open() {
  if (m_opened || m_closed) return;
  m_opened = true;
  m_running = true;
  struct Ended {
    bool& running;
    ~Ended() { running = false; }
  } ended{m_running};

  if (m_target.archivePath.empty() ? !(AwaitDrive() && Walk() && FindArchive()) : !ConfirmDisc()) return;
  m_view.ShowMessage(std::string(kMsgCheckingDisc) + m_target.mark);
  m_pump.Pump();
  if (m_cancelled) return Close(kModalCancel);
  // The walk that found or confirmed the disc serves the check.
  const CheckRequest request{m_discRoot, m_target.archivePath, m_context.run.catalogFolder, &m_scanner};
  bool completed = false;
  try {
    completed = m_check.Run(request);
  } catch (const AppError& error) {
    m_view.Alert(error.what());
    // The disc was read and compared; only remembering the check failed.
    completed = m_check.Reported();
  }
  Close(completed && !m_cancelled ? kModalOk : kModalCancel);
}

bool CheckSession::AwaitDrive() {
  if (m_access.ready()) return true;
  m_view.ShowMessage(kMsgWaitingForDrive);
  return AwaitDriveReady(m_pump, m_access.ready, [this] { return m_cancelled; }, m_access.readyWait) || Stop();
}

bool CheckSession::Walk() {
  m_view.ShowMessage(kMsgReadingDisc);
  m_pump.Pump();
  if (m_cancelled || !m_scanner.Scan(m_discRoot) || m_cancelled) return Stop();
  if (m_scanner.RootUnlisted()) {
    // An unreadable disc is no disc without files.
    m_view.Alert(std::string(kMsgCannotReadDisc) + m_scanner.UnlistedFolders().front().reason);
    return Stop();
  }
  return true;
}

bool CheckSession::FindArchive() {
  FileSystem& fs = m_context.services.files;
  const std::optional<std::string> path =
      FindArchiveByChecksum(fs, m_context.run.catalogFolder, ListingChecksumsOf(m_scanner, m_context.services.text));
  if (!path) {
    m_view.Alert(kMsgNotCatalogued);
    return Stop();
  }
  m_target.archivePath = *path;
  try {
    m_target.mark = std::string(MarkAsListed(ReadArchiveKey(fs, m_context.services.text, *path, kAMark)));
  } catch (const AppError& error) {
    m_view.Alert(error.what());
    return Stop();
  }
  return true;
}

bool CheckSession::ConfirmDisc() {
  // Another disc checked against this archive would have all its files
  // missing, and that would be remembered. The archive's disc as it was
  // catalogued is known by its checksum; any other is asked for by its mark.
  if (m_access.rootIsTheSource) return Walk();
  if (m_access.ready()) {
    if (!Walk()) return false;
    if (ArchiveNamedByChecksum(m_target.archivePath, ListingChecksumsOf(m_scanner, m_context.services.text))) return true;
  }
  if (m_access.waitForDisc(std::string(kMsgInsertDiscMarked) + m_target.mark) != kModalOk || m_cancelled) {
    return Stop();
  }
  if (!AwaitDrive() || !Walk()) return false;
  const std::vector<std::string> checksums = ListingChecksumsOf(m_scanner, m_context.services.text);
  if (ArchiveNamedByChecksum(m_target.archivePath, checksums)) return true;
  // A disc that is no other archive's is the one asked for, changed since it
  // was catalogued (a disc written again, a session added): what the check is for.
  if (!FindArchiveByChecksum(m_context.services.files, m_context.run.catalogFolder, checksums)) return true;
  m_view.Alert(kMsgWrongDisc);
  m_access.openTray();
  return Stop();
}

bool CheckSession::Stop() {
  Close(kModalCancel);
  return false;
}

void CheckSession::Cancel() {
  m_cancelled = true;
  m_scanner.RequestAbort();
  m_check.RequestAbort();
  // A running check closes the window itself once it has stopped.
  if (!m_running) Close(kModalCancel);
}

void CheckSession::Close(int modalResult) {
  if (m_closed) return;
  m_closed = true;
  m_view.CloseDialog(modalResult);
}

}  // namespace discovel
