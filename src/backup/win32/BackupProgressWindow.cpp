#include "backup/win32/BackupProgressWindow.h"

#include <commctrl.h>

namespace discovel {
namespace {

constexpr int kWidth = 340;
constexpr int kHeight = 110;
constexpr int kLblFile = 101;
constexpr int kProgress = 102;

}  // namespace

BackupProgressWindow::BackupProgressWindow(const char* title) {
  CreateDialogWindow(
      {.className = kBackupProgressClass, .title = title, .client = {kWidth, kHeight}});
  m_lblFile.Create({.form = this,
                    .id = kLblFile,
                    .bounds = {12, kBandHeight + 10, kWidth - 24, 18},
                    .anchors = kAnchorTopWide});
  m_progress = CreateChild(Handle(), PROGRESS_CLASSW, "", PBS_SMOOTH, {12, kBandHeight + 34, kWidth - 24, 18},
                           kProgress, FontRole::Normal, 0, kAnchorTopWide);
  SendMessageW(m_progress, PBM_SETRANGE32, 0, 100);
  // The work runs inside the handler of a command: nothing else may start meanwhile.
  m_othersDisabled.emplace(Handle());
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

BackupProgressWindow::~BackupProgressWindow() {
  m_othersDisabled.reset();
  // The owner gets the activation back before this window goes.
  if (HWND owner = GetWindow(Handle(), GW_OWNER)) SetActiveWindow(owner);
}

void BackupProgressWindow::Show(std::size_t done, std::size_t total, std::string_view what) {
  const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
  SendMessageW(m_progress, PBM_SETPOS, percent, 0);
  m_lblFile.SetText(std::string(what));
}

LRESULT BackupProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The work cannot be stopped half-way: closing waits for its end.
  if (message == WM_CLOSE) return 0;
  return Dialog::HandleMessage(message, wParam, lParam);
}

}  // namespace discovel
