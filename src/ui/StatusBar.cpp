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
  m_bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  SetControlFont(m_bar, FontRole::Normal);
  m_widths.assign(widths.begin(), widths.end());
  SetParts();
  m_progressPanel = progressPanel;
  m_progress = CreateChild(m_bar, PROGRESS_CLASSA, "", PBS_SMOOTH, 0, 0, 0, 0, progressId);
  SendMessageA(m_progress, PBM_SETRANGE32, 0, 100);
}

void StatusBar::SetParts() {
  const UINT dpi = WindowDpi(m_bar);
  std::vector<int> edges;
  int right = 0;
  for (const int width : m_widths) edges.push_back(right += ScaleToDpi(width, dpi));
  edges.back() = -1;
  SendMessageA(m_bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::SetText(int panel, const std::string& text) {
  SendMessageA(m_bar, SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::Layout() {
  if (!m_bar) return;
  // The panels' design widths at the window's DPI, which may have changed.
  SetParts();
  SendMessageA(m_bar, WM_SIZE, 0, 0);
  RECT panel{};
  SendMessageA(m_bar, SB_GETRECT, static_cast<WPARAM>(m_progressPanel), reinterpret_cast<LPARAM>(&panel));
  SetWindowPos(m_progress, nullptr, panel.left, panel.top, panel.right - panel.left, panel.bottom - panel.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

int StatusBar::Height() const {
  RECT bounds{};
  GetWindowRect(m_bar, &bounds);
  return bounds.bottom - bounds.top;
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
