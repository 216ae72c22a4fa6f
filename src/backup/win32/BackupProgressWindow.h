#pragma once
// A small window that shows how far a backup, restore or merge got, while
// every other window of the program waits. It lives as long as the object;
// the work's own pumping keeps it painted.
#include <optional>
#include <string>

#include "backup/BackupProgress.h"
#include "ui/Dialog.h"
#include "ui/Label.h"

namespace discovel {

inline constexpr char kBackupProgressClass[] = "TfrmBackupProgress";

class BackupProgressWindow final : public Dialog, public BackupProgress {
 public:
  // `title` goes into the top band ("Backup", "Restore", "Merge").
  explicit BackupProgressWindow(const char* title);
  ~BackupProgressWindow() override;

  void Show(std::size_t done, std::size_t total, std::string_view what) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  Label m_lblFile;
  HWND m_progress = nullptr;
  std::optional<OtherWindowsDisabled> m_othersDisabled;
};

}  // namespace discovel
