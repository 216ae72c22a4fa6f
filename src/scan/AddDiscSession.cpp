#include "scan/AddDiscSession.h"

#include <utility>

#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveKeyWalk.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/ArchiveSource.h"
#include "catalog/CatalogFolder.h"
#include "catalog/CatalogQueries.h"
#include "catalog/DosTime.h"
#include "catalog/ListingChecksum.h"
#include "catalog/NumberFormat.h"
#include "catalog/TextUtil.h"
#include "drives/DriveReady.h"
#include "platform/AppError.h"
#include "platform/ModalResult.h"
#include "platform/ScopeExit.h"
#include "scan/DiscIdentity.h"
#include "settings/SettingsNames.h"

namespace discovel {
namespace {

const std::string kAllFiles = "*.*";

}  // namespace

AddDiscSession::AddDiscSession(const AppContext& context, UiPump& pump, AddDiscView& view,
                               std::function<bool(char)> isAudioDisc, std::function<void(char)> openTray,
                               std::function<bool(char)> discReady)
    : m_fs(context.services.files),
      m_settings(context.services.settings),
      m_text(context.services.text),
      m_pump(pump),
      m_view(view),
      m_catalogFolder(IncludeTrailingBackslash(context.run.catalogFolder)),
      m_driveLetter(context.run.readDevice),
      m_isAudioDisc(std::move(isAudioDisc)),
      m_openTray(std::move(openTray)),
      m_discReady(std::move(discReady)),
      m_scanner(context.services.files, context.services.settings, pump) {}

std::string WalkedCountsText(const WalkedSoFar& walked, std::string_view thousandsSeparator) {
  return "Files: " + FormatCount(walked.files, thousandsSeparator) + "; Folders: " +
         FormatCount(walked.folders, thousandsSeparator) + "; Bytes: " + FormatCount(walked.bytes, thousandsSeparator);
}

AddDiscSession::AddDiscSession(const AppContext& context, UiPump& pump, AddDiscView& view, ArchiveSource source)
    : AddDiscSession(context, pump, view, [](char) { return false; }, [](char) {}) {
  m_source = std::move(source);
  m_scanner.LeaveHostageAlone();
  m_source->path = IncludeTrailingBackslash(m_source->path);
}

std::string AddDiscSession::Said(std::string_view discText, std::string_view sourceText) const {
  if (!m_source) return std::string(discText);
  std::string text(sourceText);
  const std::string_view noun = m_source->kind == SourceKind::kFolder ? "folder" : "drive";
  if (const std::size_t at = text.find("<it>"); at != std::string::npos) text.replace(at, 4, noun);
  return text;
}

void AddDiscSession::Open() {
  if (m_state != AddDiscState::NotOpened) return;
  m_state = AddDiscState::Scanning;
  Examine();
}

void AddDiscSession::Examine() {
  m_view.EnableOk(false);
  m_editAllowed = false;
  m_view.ShowEditPanel(false);
  m_view.ShowProgressPanel(false);
  m_view.ClearFields();
  m_ejectOnClose = false;
  m_view.ShowMessage(Said(kMsgScanning, kMsgScanningSource));
  m_pump.Pump();
  // Cancelled before the scan began: the scanner would clear the request.
  if (m_closed) return Finish(AddDiscState::Aborted, kMsgAborted);
  // A tray OK just closed: the disc is not readable for some seconds yet.
  if (!m_source && m_discReady && !AwaitDriveReady(m_pump, [this] { return m_discReady(m_driveLetter); },
                                      [this] { return m_closed; })) {
    return Finish(AddDiscState::Aborted, kMsgAborted);
  }

  if (!m_source && m_isAudioDisc(m_driveLetter)) {
    Finish(AddDiscState::AudioDisc, kMsgAudioDisc);
    m_pump.Pump();
    m_ejectOnClose = true;
    return;
  }

  // A drive or folder is known by its volume and path, whatever it holds
  // now: a large disk is not walked for nothing.
  if (m_source) {
    if ((m_sourceArchived = FindArchiveOfSource(m_fs, m_text, m_catalogFolder, *m_source))) {
      Finish(AddDiscState::AlreadyArchived, Said("", kMsgSourceArchived) + m_sourceArchived->mark);
      m_view.OfferUpdate();
      m_pump.Pump();
      return;
    }
  }

  bool completed = false;
  {
    // The progress panel is up exactly while the scan runs, errors included.
    m_view.ShowProgressPanel(true);
    ScopeExit panel([this] { m_view.ShowProgressPanel(false); });
    const std::string root = m_source ? m_source->path : std::string{m_driveLetter, ':', '\\'};
    completed = m_scanner.Scan(root, kAllFiles, &m_view);
  }
  // A Cancel during the scan's last pump comes too late to stop the walk, but
  // the dialog is closing all the same.
  if (!completed || m_closed) return Finish(AddDiscState::Aborted, kMsgAborted);

  if (m_scanner.FileCount() == 0) {
    // A disc whose root could not be listed (not ready yet, a bad sector) is no empty disc.
    Finish(AddDiscState::EmptyDisc, m_scanner.RootUnlisted()
                                        ? std::string(kMsgCannotReadDisc) + m_scanner.UnlistedFolders().front().reason
                                        : Said(kMsgEmptyDisc, kMsgSourceEmpty));
    m_pump.Pump();
    m_ejectOnClose = !m_source;
    return;
  }

  ListingToSave listing = ListingForSaving(m_scanner, m_text);
  m_checksum = ChecksumOfListing(listing.bytes);
  m_listing = std::move(listing.lines);
  m_archiveNumber = NextArchiveNumber();
  m_proposedMark = std::string(kMarkPrefix) + std::to_string(m_archiveNumber);
  if (m_source) {
    m_proposedMark = ProposedMarkFor(
        *m_source,
        [this](std::string_view mark) { return MarkExists(m_fs, m_text, mark, m_catalogFolder, kArchiveMask); },
        m_proposedMark);
  }

  // Anywhere in the catalogue, and also under the names older versions gave
  // the same disc.
  const DiscChecksums checksums = ChecksumsOfDisc(m_scanner, m_text, {m_listing, listing.bytes});
  if (const std::optional<std::string> existing = FindArchiveByChecksum(m_fs, m_catalogFolder, checksums.All())) {
    const ArchiveText keys = ArchiveText::LoadKeyBlock(m_fs, *existing, m_text);
    const std::string said = Said(kMsgAlreadyArchived, kMsgSourceArchived) + keys.ReadKey(kAMark);
    Finish(AddDiscState::AlreadyArchived, said);
    m_pump.Pump();
    m_ejectOnClose = !m_source;
    // Found by the names an earlier version could not keep: offered to mend.
    const bool lossy = !ArchiveNamedByChecksum(*existing, checksums.current) &&
                       keys.Encoding() == ArchiveEncoding::CodePage;
    if (lossy && m_view.Confirm(kMsgOfferRewrite)) {
      RewriteWithExactNames(*existing);
      m_view.ShowMessage(said + std::string(kMsgRewritten));
    }
    return;
  }

  m_state = AddDiscState::Editing;
  m_view.ShowEditPanel(true);
  m_editAllowed = true;
  m_view.SetMark(m_proposedMark);
  // The window may not report its own programmatic change of the field.
  MarkChanged(m_proposedMark);
  m_view.ShowMessage(Said(kMsgMarkWith, kMsgMarkSourceWith) + m_proposedMark + Said(kMsgOrTypeMark, kMsgOrTypeSourceMark));
  m_view.SetCancelCaption(kCaptionCancel);
  m_pump.Pump();
  m_ejectOnClose = !m_source;
  m_pump.Pump();
}

void AddDiscSession::Finish(AddDiscState state, std::string_view message) {
  m_state = state;
  m_view.ShowMessage(message);
  m_view.SetCancelCaption(kCaptionClose);
}

std::string AddDiscSession::ChecksumOfListing(std::string_view bytes) {
  // The scratch listing goes however the checksum step ends, so that no
  // "temp.dat" is ever left in the catalogue for the queries to take as an archive.
  const std::string scratch = m_catalogFolder + std::string(kScratchListing);
  ScopeExit removeScratch([&] { m_fs.RemoveFile(scratch); });
  m_fs.WriteFileReplacing(scratch, bytes);
  return ListingChecksumOfFile(m_fs, scratch);
}

void AddDiscSession::RewriteWithExactNames(const std::string& archivePath) {
  // The exact listing under the archive's own keys; the counts are the
  // listing's, which now holds the files the old one missed.
  const ArchiveLines old = ArchiveLines::Load(m_fs, archivePath, m_text);
  ArchiveLines rewritten = m_listing;
  for (std::string& line : old.KeyLines()) rewritten.AppendLine(std::move(line));
  rewritten.SetKey(kAFiles, std::to_string(m_scanner.FileCount()));
  rewritten.SetKey(kADirs, std::to_string(m_scanner.FolderCount()));
  rewritten.SetKey(kASize, std::to_string(m_scanner.TotalSize()));
  rewritten.SetEncoding(ArchiveEncoding::Utf8);
  rewritten.Save(m_fs, archivePath, m_text);
  m_savedArchive = archivePath;
  RefreshKeySummary(m_fs, m_text, m_catalogFolder);
}

std::int32_t AddDiscSession::NextArchiveNumber() {
  std::int32_t highest = HighestArchiveNumber(m_fs, m_text, m_catalogFolder, kArchiveMask);
  if (highest == 0) {
    // All archives deleted: go on from the number the last save remembered.
    const std::string stored = m_settings.ReadString(names::kKeyState, names::kLastArchiveNumber);
    if (!stored.empty()) {
      const auto number = ParseInt32(TrimBlanksAndControls(stored));
      if (!number) throw ConvertError("'" + stored + "' is not a valid integer value");
      highest = *number;
    }
  }
  // Wraps like the 32-bit number it is stored as, rather than overflowing.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(highest) + 1U);
}

void AddDiscSession::MarkChanged(std::string_view mark) {
  m_view.EnableOk(m_editAllowed && !TrimBlanksAndControls(mark).empty());
}

bool AddDiscSession::Ok(std::string_view mark, std::string_view location, std::string_view note) {
  if (!m_editAllowed) return false;
  if (MarkExists(m_fs, m_text, TrimBlanksAndControls(mark), m_catalogFolder, kArchiveMask)) {
    m_view.Alert(kMsgMarkExists);
    m_view.FocusMark();
    return false;
  }
  m_view.ShowMessage(kMsgSaving);
  SaveArchive(mark, location, note);
  m_pump.Pump();
  CloseWith(kModalOk);
  return true;
}

void AddDiscSession::SaveArchive(std::string_view mark, std::string_view location, std::string_view note) {
  m_savedArchive.clear();
  if (TrimBlanksAndControls(m_checksum).empty()) {
    m_view.Alert(kMsgNoChecksum);
    return;
  }
  ArchiveKeys keys;
  keys.date = PackDosDateTime(m_text.Now());
  keys.mark = TrimBlanksAndControls(mark);
  keys.location = TrimBlanksAndControls(location);
  keys.crc = m_checksum;
  keys.files = m_scanner.FileCount();
  keys.dirs = m_scanner.FolderCount();
  keys.note = TrimBlanksAndControls(note);
  keys.size = m_scanner.TotalSize();
  keys.number = m_archiveNumber;
  if (m_source) keys.source = *m_source;

  // The keys go onto a copy: a save that failed and is retried starts clean.
  ArchiveLines archive = m_listing;
  archive.AppendKeyLines(keys);
  const std::string path = m_catalogFolder + m_checksum + ".dat";
  archive.Save(m_fs, path, m_text);
  m_savedArchive = path;
  RefreshKeySummary(m_fs, m_text, m_catalogFolder);
  m_settings.WriteString(names::kKeyState, names::kLastArchiveNumber, std::to_string(m_archiveNumber));
}

void AddDiscSession::Cancel() {
  m_scanner.RequestAbort();
  m_pump.Pump();
  CloseWith(kModalCancel);
}

void AddDiscSession::CloseWith(int modalResult) {
  if (m_ejectOnClose) m_openTray(m_driveLetter);
  m_closed = true;
  m_view.CloseDialog(modalResult);
}

}  // namespace discovel
