#pragma once
// The wait for a catalogued drive or share: asks for it by its mark, and ends
// when a volume that is it arrives, or on OK once it is there. A drive has no
// tray: the user plugs it in or connects it.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/ArchiveKeys.h"
#include "platform/AppContext.h"
#include "ui/Button.h"
#include "ui/Dialog.h"

namespace discovel {

inline constexpr std::string_view kMsgConnectDriveMarked = "Connect the drive marked: ";
inline constexpr std::string_view kMsgNotTheDrive = "This is not the drive marked: ";
// The drive is there, but the file is gone from it.
inline constexpr std::string_view kMsgNotOnTheDrive = "The file is no longer on the drive marked: ";

class TfrmWaitDrive final : public Dialog {
 public:
  // 1 once the drive is there (`pathNow` gets where its source path is now);
  // 2 when the user cancelled.
  static int Execute(const ArchiveSource& source, const std::string& mark, HWND owner, std::string& pathNow);
  // Where the source's path is now: at once when its drive is mounted, else
  // after the wait; nullopt when the user cancelled it.
  static std::optional<std::string> PathNow(const ArchiveSource& source, const std::string& mark, HWND owner);
  TfrmWaitDrive(ArchiveSource source, std::string mark, std::string& pathNow);
  void Create();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnShowing() override;
  void OnActivated() override;

 private:
  // Ends the wait when the drive is there now; else says this is not it.
  void LookAgain();

  ArchiveSource m_source;
  std::string m_mark;
  std::string& m_pathNow;
  HWND m_lblMsg = nullptr;
  Button m_btnOk;
  Button m_btnCancel;
};

}  // namespace discovel
