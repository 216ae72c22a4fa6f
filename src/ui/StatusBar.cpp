#include "ui/StatusBar.h"

#include <commctrl.h>

#include <vector>

#include "platform/win32/WideText.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"

namespace discovel {
namespace {

constexpr UINT kProgressResetMs = 150;

// The timer on the status bar's own window that empties its progress bar.
// Not on the progress bar's: a themed progress bar animates on timers of its
// own, whose ids are its business.
constexpr UINT_PTR kProgressResetTimer = 0x5EB0;

}  // namespace

void StatusBar::Create(HWND parent, int id, int progressId, const std::vector<int>& widths, int progressPanel) {
  ChildWindow::Create(parent, STATUSCLASSNAMEW, id, {}, SBARS_SIZEGRIP, 0, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS,
                      kPlacedByOwner);
  m_widths.assign(widths.begin(), widths.end());
  SetParts();
  m_progressPanel = progressPanel;
  if (progressId == 0) return;
  m_progress = CreateChild(Handle(), PROGRESS_CLASSW, "", PBS_SMOOTH, 0, 0, 0, 0, progressId);
  SendMessageW(m_progress, PBM_SETRANGE32, 0, 100);
}

void StatusBar::SetParts() {
  const UINT dpi = WindowDpi(Handle());
  std::vector<int> edges;
  int right = 0;
  for (const int width : m_widths) edges.push_back(right += ScaleToDpi(width, dpi));
  edges.back() = -1;
  SendMessageW(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::SetText(int panel, const std::string& text) {
  const std::wstring wide = Wide(text);
  SendMessageW(Handle(), SB_SETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(wide.c_str()));
}

void StatusBar::Layout() {
  if (!Handle()) return;
  // The panels' design widths at the window's DPI, which may have changed.
  SetParts();
  SendMessageW(Handle(), WM_SIZE, 0, 0);
  if (!m_progress) return;
  RECT panel{};
  SendMessageW(Handle(), SB_GETRECT, static_cast<WPARAM>(m_progressPanel), reinterpret_cast<LPARAM>(&panel));
  SetWindowPos(m_progress, nullptr, panel.left, panel.top, panel.right - panel.left, panel.bottom - panel.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

int StatusBar::Height() const {
  RECT bounds{};
  GetWindowRect(Handle(), &bounds);
  return bounds.bottom - bounds.top;
}

int StatusBar::DesignHeight(UINT dpi) const {
  const int pixels = Height();
  const int design = ScaleFromDpi(pixels, dpi);
  return ScaleToDpi(design, dpi) < pixels ? design + 1 : design;
}

int StatusBar::Progress() const { return static_cast<int>(SendMessageW(m_progress, PBM_GETPOS, 0, 0)); }

void StatusBar::SetProgress(int position) { SendMessageW(m_progress, PBM_SETPOS, static_cast<WPARAM>(position), 0); }

void StatusBar::ShowProgressDone() {
  // A themed bar eases forward and jumps backward: going one past the end
  // and back shows it full at once, not part-way when the reset comes.
  SendMessageW(m_progress, PBM_SETRANGE32, 0, 101);
  SetProgress(101);
  SetProgress(100);
  SendMessageW(m_progress, PBM_SETRANGE32, 0, 100);
  if (!SetTimer(Handle(), kProgressResetTimer, kProgressResetMs, nullptr)) SetProgress(0);
}

bool StatusBar::OnControlMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_TIMER || wParam != kProgressResetTimer) return false;
  KillTimer(Handle(), kProgressResetTimer);
  SetProgress(0);
  result = 0;
  return true;
}

}  // namespace discovel
