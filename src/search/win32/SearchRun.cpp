#include "search/win32/SearchRun.h"

#include <algorithm>

#include "platform/ScopeExit.h"
#include "ui/ButtonPictures.h"
#include "ui/MessagePump.h"
#include "ui/ToolWindow.h"

namespace discovel {
namespace {

constexpr int kProgressStep = 10;

}  // namespace

void SearchRun::GoOrCancel(const std::function<void()>& search) {
  if (m_busy) {
    m_parts.abort();
    return;
  }
  if (m_parts.list.GettingFile()) return;
  m_busy = true;
  ScopeExit idle([this] { m_busy = false; });
  PumpMessages();
  search();
}

void SearchRun::Close() {
  if (m_busy) m_parts.abort();
}

void SearchRun::ShowRunning() {
  ShowBusyCursor(true);
  EnableWindow(m_parts.list.Handle(), FALSE);
  if (!m_quiet) m_quiet.emplace(m_parts.list.List());
  m_parts.showIdle(false);
  ShowGo(false);
  m_parts.status.SetProgress(0);
  m_parts.status.SetText(0, "Searching...");
  PumpMessages();
}

void SearchRun::ShowIdle() {
  m_parts.status.ShowProgressDone();
  EnableWindow(m_parts.list.Handle(), TRUE);
  m_quiet.reset();
  m_parts.showIdle(true);
  ShowGo(true);
  ShowBusyCursor(false);
}

void SearchRun::ShowGo(bool go) {
  const HWND button = GetDlgItem(m_parts.form.Handle(), static_cast<int>(m_parts.goCommand));
  m_parts.form.ShowPicture(button, go ? ButtonPicture::Go : ButtonPicture::Cancel);
  if (Action* action = m_parts.form.Commands().ForCommand(m_parts.goCommand)) action->SetHint(go ? "Go" : "Cancel");
}

void SearchRun::ArchiveSearched() {
  m_parts.status.SetProgress(std::min(100, m_parts.status.Progress() + kProgressStep));
}

void SearchRun::RowIncomplete(const std::string& message) {
  if (onRowIncomplete) onRowIncomplete(message);
}

void SearchRun::ArchiveFailed(const std::string& message) {
  if (onArchiveFailed) onArchiveFailed(message);
}

}  // namespace discovel
