#include "check/CheckSession.h"

#include "catalog/ArchiveKeys.h"
#include "catalog/CatalogQueries.h"
#include "catalog/ListingChecksum.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "platform/ModalResult.h"

namespace discovel {

CheckSession::CheckSession(const AppContext& context, UiPump& pump, CheckView& view, std::string discRoot,
                           std::optional<CheckTarget> target)
    : m_context(context),
      m_pump(pump),
      m_view(view),
      m_discRoot(std::move(discRoot)),
      m_target(target.value_or(CheckTarget{})),
      m_scanner(context.services.files, pump),
      m_check(context.services.files, context.services.text, pump, view) {}

void CheckSession::Open() {
  if (m_opened || m_closed) return;
  m_opened = true;
  m_running = true;
  struct Ended {
    bool& running;
    ~Ended() { running = false; }
  } ended{m_running};

  if (m_target.archivePath.empty() && !FindArchive()) return;
  m_view.ShowMessage(std::string(kMsgCheckingDisc) + m_target.mark);
  m_pump.Pump();
  if (m_cancelled) return Close(kModalCancel);
  // A disc walked to find its archive is not walked again.
  const CheckRequest request{m_discRoot, m_target.archivePath, m_context.run.catalogFolder,
                             m_discWalked ? &m_scanner.Listing() : nullptr};
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

bool CheckSession::FindArchive() {
  m_view.ShowMessage(kMsgReadingDisc);
  m_pump.Pump();
  if (m_cancelled || !m_scanner.Scan(m_discRoot) || m_cancelled) {
    Close(kModalCancel);
    return false;
  }
  m_discWalked = true;
  // Adding a disc names its archive by the checksum of the disc's listing.
  const std::string checksum = ListingChecksumOfText(m_scanner.Listing().Text());
  const std::string path = IncludeTrailingBackslash(m_context.run.catalogFolder) + checksum + ".dat";
  FileSystem& fs = m_context.services.files;
  if (!fs.FileExists(path)) {
    m_view.Alert(kMsgNotCatalogued);
    Close(kModalCancel);
    return false;
  }
  m_target.archivePath = path;
  try {
    m_target.mark = std::string(MarkAsListed(ReadArchiveKey(fs, path, kAMark)));
  } catch (const AppError& error) {
    m_view.Alert(error.what());
    Close(kModalCancel);
    return false;
  }
  return true;
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
