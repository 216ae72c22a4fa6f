#pragma once
// The decisions of the add-disc dialog: one session per opening. It examines the
// disc in the read device (audio, empty, already archived), proposes a mark,
// checks the user's mark and saves the new archive. The dialog window only shows
// what the session tells its view and forwards its events here.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/AppContext.h"
#include "platform/FileSystem.h"
#include "platform/TextServices.h"
#include "platform/UiPump.h"
#include "catalog/ArchiveFile.h"
#include "catalog/ArchiveKeys.h"
#include "catalog/CatalogQueries.h"
#include "scan/FolderScanner.h"
#include "settings/Settings.h"

namespace discovel {

inline constexpr std::string_view kMsgScanning = "Scanning CD/DVD, please wait...";
inline constexpr std::string_view kMsgAudioDisc =
    "Disk is an Audio CD/DVD.\r\nPlease use only CD/DVD that contains data or Mp3 files.";
inline constexpr std::string_view kMsgAborted = "Aborted.";
inline constexpr std::string_view kMsgEmptyDisc = "Disk is empty.";
inline constexpr std::string_view kMsgAlreadyArchived = "CD/DVD is already archived under: \r\n";
inline constexpr std::string_view kMsgMarkWith = "Mark the CD/DVD with label: ";
inline constexpr std::string_view kMsgOrTypeMark =
    "\r\nor type in the below Mark field what the CD/DVD is already marked.";
inline constexpr std::string_view kMsgSaving = "Saving to Catalog...";
inline constexpr std::string_view kMsgNoChecksum = "Cannot Get CRC.";
// Asked after kMsgAlreadyArchived when the disc's archive was written by a
// version that could not keep some of the disc's names, and said once it is
// rewritten.
inline constexpr std::string_view kMsgOfferRewrite =
    "Its archive was written by an earlier version, which could not keep every name on this CD/DVD exactly "
    "(some became look-alikes or \"?\", and folders so named are missing).\r\n\r\n"
    "Rewrite the archive now with the exact names? Its mark, location, note and file name stay as they are.";
inline constexpr std::string_view kMsgRewritten = "\r\nIts archive now holds the exact names.";
// The same for a drive or folder, "drive" or "folder" in place of <it>.
inline constexpr std::string_view kMsgScanningSource = "Scanning the <it>, please wait...";
inline constexpr std::string_view kMsgSourceEmpty = "The <it> holds no files.";
inline constexpr std::string_view kMsgSourceArchived = "This <it> is already archived under: \r\n";
inline constexpr std::string_view kMsgMarkSourceWith = "Mark the <it> with label: ";
inline constexpr std::string_view kMsgOrTypeSourceMark = "\r\nor type in the below Mark field the mark you want.";
inline constexpr std::string_view kCaptionClose = "Close";
inline constexpr std::string_view kCaptionCancel = "Cancel";
inline constexpr std::string_view kMarkPrefix = "CD No: ";
inline constexpr std::string_view kScratchListing = "temp.dat";

// "Files: 1,234; Folders: 56; Bytes: 7,890,123": what a drive's walk has counted.
std::string WalkedCountsText(const WalkedSoFar& walked, std::string_view thousandsSeparator);

// What the dialog window shows. SetProgress (from ScanProgress) moves the bar of
// the progress panel.
class AddDiscView : public ScanProgress {
 public:
  virtual void ShowMessage(std::string_view text) = 0;          // lblMsg
  virtual void SetCancelCaption(std::string_view caption) = 0;  // btnCancel
  virtual void ShowEditPanel(bool visible) = 0;
  // Visible exactly while the scan runs; the window shows the hourglass with it.
  virtual void ShowProgressPanel(bool visible) = 0;
  virtual void ClearFields() = 0;  // mark, location and note
  // Puts the text into the mark field and focuses it.
  virtual void SetMark(std::string_view mark) = 0;
  virtual void FocusMark() = 0;
  virtual void EnableOk(bool enabled) = 0;
  // A modal message box over the dialog.
  virtual void Alert(std::string_view text) = 0;
  // A modal Yes/No question over the dialog; true for Yes.
  virtual bool Confirm(std::string_view question) = 0;
  // Ends the modal dialog with this result (1 OK, 2 Cancel) once the current
  // handler returns.
  virtual void CloseDialog(int modalResult) = 0;
  // The drive or folder is archived already: its archive may be brought up
  // to date instead (SourceArchived()).
  virtual void OfferUpdate() {}
};

enum class AddDiscState {
  NotOpened,
  Scanning,
  AudioDisc,
  Aborted,
  EmptyDisc,
  AlreadyArchived,
  Editing,  // the disc is new: waiting for a mark
};

class AddDiscSession {
 public:
  // Reads the disc in the context's read device into its catalogue folder (a
  // trailing backslash is added when it lacks one). `isAudioDisc`, `openTray`
  // and `discReady` take the drive letter (IsAudioDisc, OpenCdTray and
  // DiscInDrive in the program); the scan waits for `discReady` when given.
  AddDiscSession(const AppContext& context, UiPump& pump, AddDiscView& view, std::function<bool(char)> isAudioDisc,
                 std::function<void(char)> openTray, std::function<bool(char)> discReady = nullptr);
  // Reads the drive or folder `source` (its path) instead: no tray, no
  // audio disc, and the source's keys go into the archive.
  AddDiscSession(const AppContext& context, UiPump& pump, AddDiscView& view, ArchiveSource source);
  AddDiscSession(const AddDiscSession&) = delete;
  AddDiscSession& operator=(const AddDiscSession&) = delete;

  // The opening procedure, for when the dialog first becomes active. Runs once
  // per session: later activations (after a message box, say) return at once, so
  // the fields stay as the user left them. Errors (writing temp.dat, the
  // checksum, a non-numeric LastArchiveNumber) travel to the window, which shows
  // them and stays open; temp.dat never outlives this call.
  void Open();

  // The mark field changed: enables OK when editing and the mark is not blank.
  void MarkChanged(std::string_view mark);

  // OK pressed. A mark already in the catalogue is refused with a message box
  // and false; otherwise the archive is saved, the tray ejected and the dialog
  // closed with OK, and the result is true. Save errors travel on, with the
  // dialog still open.
  bool Ok(std::string_view mark, std::string_view location, std::string_view note);

  // Cancel or Escape, also from inside a pump of the running scan: the scan
  // stops at its next check and Open() then ends with "Aborted.".
  void Cancel();

  AddDiscState State() const { return m_state; }
  bool EditAllowed() const { return m_editAllowed; }
  bool EjectOnClose() const { return m_ejectOnClose; }
  bool Closed() const { return m_closed; }
  const std::string& Checksum() const { return m_checksum; }
  std::int32_t ArchiveNumber() const { return m_archiveNumber; }
  const std::string& ProposedMark() const { return m_proposedMark; }
  // The archive file that this opening's last save (or rewrite) wrote;
  // empty until one did.
  const std::string& SavedArchive() const { return m_savedArchive; }
  const FolderScanner& Scanner() const { return m_scanner; }
  // The archive of the same drive or folder, when the opening found one.
  const std::optional<ArchiveOfSource>& SourceArchived() const { return m_sourceArchived; }

 private:
  void Examine();
  // The disc's text, or the source's with its noun.
  std::string Said(std::string_view discText, std::string_view sourceText) const;
  std::string ChecksumOfListing(std::string_view bytes);
  void RewriteWithExactNames(const std::string& archivePath);
  std::int32_t NextArchiveNumber();
  void Finish(AddDiscState state, std::string_view message);
  void SaveArchive(std::string_view mark, std::string_view location, std::string_view note);
  void CloseWith(int modalResult);

  FileSystem& m_fs;
  Settings& m_settings;
  const TextServices& m_text;
  UiPump& m_pump;
  AddDiscView& m_view;
  std::string m_catalogFolder;
  char m_driveLetter;
  std::optional<ArchiveSource> m_source;  // a drive or folder instead of the read device
  std::optional<ArchiveOfSource> m_sourceArchived;
  std::function<bool(char)> m_isAudioDisc;
  std::function<void(char)> m_openTray;
  std::function<bool(char)> m_discReady;

  FolderScanner m_scanner;
  AddDiscState m_state = AddDiscState::NotOpened;
  bool m_editAllowed = false;
  bool m_ejectOnClose = false;
  bool m_closed = false;
  std::string m_checksum;
  // The listing this session saves, with its encoding.
  ArchiveLines m_listing;
  std::int32_t m_archiveNumber = 0;
  std::string m_proposedMark;
  std::string m_savedArchive;
};

}  // namespace discovel
