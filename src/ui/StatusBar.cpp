#include "ui/StatusBar.h"

#include <commctrl.h>

#include <map>
#include <vector>

#include "ui/Controls.h"
#include "ui/Dpi.h"

namespace discovel {
namespace {

constexpr UINT kProgressResetMs = 150;

// Progress bars waiting to be emptied, by the id of their thread timer. The
// timer belongs to no window: on a control's own window it could take the id
// of a timer the control runs itself (a themed progress bar animates on one).
std::map<UINT_PTR, HWND>& PendingResets() {
  static std::map<UINT_PTR, HWND> pending;
  return pending;
}

void CALLBACK ProgressToZero(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const auto found = PendingResets().find(id);
  if (found == PendingResets().end()) return;
  const HWND progress = found->second;
  PendingResets().erase(found);
  if (IsWindow(progress)) SendMessageA(progress, PBM_SETPOS, 0, 0);
}

}  // namespace

void StatusBar::Create(HWND parent, int id, int progressId, std::initializer_list<int> widths, int progressPanel) {
  ChildWindow::Create(parent, STATUSCLASSNAMEA, id, {}, SBARS_SIZEGRIP, 0, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS,
                      kPlacedByOwner);
  m_widths.assign(widths.begin(), widths.end());
  SetParts();
  m_progressPanel = progressPanel;
  if (progressId == 0) return;
  m_progress = CreateChild(Handle(), PROGRESS_CLASSA, "", PBS_SMOOTH, 0, 0, 0, 0, progressId);
  SendMessageA(m_progress, PBM_SETRANGE32, 0, 100);
}

void StatusBar::SetParts() {
  const UINT dpi = WindowDpi(Handle());
  std::vector<int> edges;
  int right = 0;
  for (const int width : m_widths) edges.push_back(right += ScaleToDpi(width, dpi));
  edges.back() = -1;
  SendMessageA(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::SetText(int panel, const std::string& text) {
  SendMessageA(Handle(), SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::Layout() {
  if (!Handle()) return;
  // The panels' design widths at the window's DPI, which may have changed.
  SetParts();
  SendMessageA(Handle(), WM_SIZE, 0, 0);
  if (!m_progress) return;
  RECT panel{};
  SendMessageA(Handle(), SB_GETRECT, static_cast<WPARAM>(m_progressPanel), reinterpret_cast<LPARAM>(&panel));
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

int StatusBar::Progress() const { return static_cast<int>(SendMessageA(m_progress, PBM_GETPOS, 0, 0)); }

void StatusBar::SetProgress(int position) { SendMessageA(m_progress, PBM_SETPOS, static_cast<WPARAM>(position), 0); }

void StatusBar::ShowProgressDone() {
  // A themed bar eases forward and jumps backward: going one past the end
  // and back shows it full at once, not part-way when the reset comes.
  SendMessageA(m_progress, PBM_SETRANGE32, 0, 101);
  SetProgress(101);
  SetProgress(100);
  SendMessageA(m_progress, PBM_SETRANGE32, 0, 100);
  if (const UINT_PTR timer = SetTimer(nullptr, 0, kProgressResetMs, &ProgressToZero)) {
    PendingResets()[timer] = m_progress;
  } else {
    SetProgress(0);
  }
}

}  // namespace discovel
