#pragma once
// The decisions of the disc check's progress window, one session per opening:
// it waits for the drive to be ready, walks the disc, makes sure it checks the
// disc of the archive (asking for it by its mark when another is in the
// drive) or, when it was given no archive, finds the disc's archive by the
// checksum of its listing (which names the archive when a disc is added),
// runs the check and tells its view what to show. The window only shows what
// the session says and forwards Cancel.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "check/DiscCheck.h"
#include "drives/DiscWait.h"
#include "drives/DriveReady.h"
#include "platform/AppContext.h"
#include "platform/UiPump.h"
#include "scan/FolderScanner.h"

namespace discovel {

inline constexpr std::string_view kMsgReadingDisc = "Reading the CD/DVD...";
inline constexpr std::string_view kMsgNotCatalogued = "This CD/DVD is not in the catalogue.";
inline constexpr std::string_view kMsgCheckingDisc = "Checking the CD/DVD marked: ";
inline constexpr std::string_view kMsgWaitingForDrive = "Waiting for the CD/DVD to be ready...";

class CheckView : public CheckObserver {
 public:
  virtual void ShowMessage(std::string_view text) = 0;
  // A modal message box over the window.
  virtual void Alert(std::string_view text) = 0;
  // Ends the modal window with this result (1: a report to show, 2: none).
  virtual void CloseDialog(int modalResult) = 0;
};

// The drive, as the session needs it.
struct DiscAccess {
  // A readable medium is in the drive. A drive whose tray was just closed
  // is not ready for some seconds.
  std::function<bool()> ready;
  // The disc insertion wait with this message, the tray opened whatever disc
  // is in it; its modal result.
  std::function<int(std::string_view message)> waitForDisc;
  std::function<void()> openTray;
  // How long a drive may take to become ready, and how often it is asked.
  DriveReadyWait readyWait;
  // The root is the archive's drive or folder, found by its volume: it is the
  // one catalogued whatever it holds now, and no disc is asked for.
  bool rootIsTheSource = false;
};

// The archive to check the disc against, as the catalogue lists it.
struct CheckTarget {
  std::string archivePath;
  std::string mark;
};

class CheckSession {
 public:
  // Checks the disc at `discRoot` ("D:\") against `target`, or against the
  // archive the disc has in the context's catalogue when none is given.
  CheckSession(const AppContext& context, UiPump& pump, CheckView& view, std::string discRoot,
               std::optional<CheckTarget> target, DiscAccess access = {});
  CheckSession(const CheckSession&) = delete;
  CheckSession& operator=(const CheckSession&) = delete;

  // Runs once per session, then closes the window: with OK when there is a
  // report to show (also when remembering the check in the archive failed,
  // which is said first), with Cancel otherwise.
  void Open();
  // Cancel or the close box, also from inside a pump of the running check.
  void Cancel();

  bool Opened() const { return m_opened; }
  const CheckReport& Report() const { return m_check.Report(); }
  // The archive checked and its mark; empty until it is known.
  const CheckTarget& Target() const { return m_target; }

 private:
  bool AwaitDrive();
  bool Walk();
  bool FindArchive();
  bool ConfirmDisc();
  bool Stop();
  void Close(int modalResult);

  const AppContext& m_context;
  UiPump& m_pump;
  CheckView& m_view;
  std::string m_discRoot;
  CheckTarget m_target;
  DiscAccess m_access;
  FolderScanner m_scanner;
  DiscCheck m_check;
  bool m_opened = false;
  bool m_running = false;
  bool m_cancelled = false;
  bool m_closed = false;
};

}  // namespace discovel
