#include "ui/StatusBar.h"

#include <commctrl.h>

#include <vector>

#include "ui/Controls.h"

namespace discovel {
namespace {

constexpr UINT_PTR kTimProgressToZero = 1;
constexpr UINT kProgressResetMs = 150;

// The timer belongs to the status bar; its only child is the progress bar.
void CALLBACK ProgressToZero(HWND bar, UINT, UINT_PTR id, DWORD) {
  KillTimer(bar, id);
  SendMessageA(GetWindow(bar, GW_CHILD), PBM_SETPOS, 0, 0);
}

}  // namespace

void StatusBar::Create(HWND parent, int id, int progressId, std::initializer_list<int> widths, int progressPanel) {
  m_bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(m_bar, WM_SETFONT, reinterpret_cast<WPARAM>(NormalFont()), FALSE);
  std::vector<int> edges;
  int right = 0;
  for (const int width : widths) edges.push_back(right += width);
  edges.back() = -1;
  SendMessageA(m_bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  m_progressPanel = progressPanel;
  m_progress = CreateChild(m_bar, PROGRESS_CLASSA, "", PBS_SMOOTH, 0, 0, 0, 0, progressId);
  SendMessageA(m_progress, PBM_SETRANGE32, 0, 100);
}

void StatusBar::SetText(int panel, const std::string& text) {
  SendMessageA(m_bar, SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::Layout() {
  if (!m_bar) return;
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
  SetProgress(100);
  SetTimer(m_bar, kTimProgressToZero, kProgressResetMs, &ProgressToZero);
}

}  // namespace discovel
