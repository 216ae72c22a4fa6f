#include "search/fmSearch.h"

#include <commctrl.h>

#include <algorithm>

#include "catalog/CatalogFolder.h"
#include "search/fmDuplicates.h"
#include "search/fmSearchIds.h"
#include "settings/SettingsNames.h"
#include "ui/ButtonPictures.h"
#include "ui/Controls.h"
#include "ui/Menus.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

using namespace fmSearchIds;

TfrmSearch* frmSearch = nullptr;

// The restriction the last opener gave, the filters' values and the sort
// outlive the window for the rest of the run.
SearchSession& Session() {
  static SearchSession session;
  return session;
}

// Design units.
constexpr int kWindowWidth = 584;  // also the smallest size
constexpr int kWindowHeight = 360;
constexpr int kBarHeight = 25;
constexpr int kButtonSize = 25;
// Posted at the first activation of a restricted window: its search starts
// once the window is up.
constexpr UINT kMsgAutoGo = WM_APP + 1;

}  // namespace

int TfrmSearch::Execute(AppContext& context, const std::string& mark) {
  Session().Restrict(mark);
  return RunModalOnce(frmSearch, [&] { return std::make_unique<TfrmSearch>(context); }, kModalCancel);
}

TfrmSearch::TfrmSearch(AppContext& context)
    : FoundFilesWindow(context), m_session(Session()), m_panel(m_session, context.services.text) {}

// The controls go with the window, before their wrappers and what they
// report to.
TfrmSearch::~TfrmSearch() { DestroyDetached(); }

void TfrmSearch::Create() {
  CreateToolWindow(
      {kClassName, "Search", kWindowWidth, kWindowHeight, &m_context.services.settings, names::kFormSearch});
  BuildControls();
  BuildActions();
  m_engine = std::make_unique<SearchEngine>(m_context.services.files, m_context.services.text, m_searchPump,
                                            static_cast<SearchObserver&>(*this));
  Layout();
  SetOpeningFocus(m_edtSearch.Handle());
  KeyState();
}

void TfrmSearch::BuildActions() {
  ActGo.SetOnExecute([this] { ActGoExecute(); });
  ActAdvanced.SetOnExecute([this] { ActAdvancedExecute(); });
  m_actClose.SetOnExecute([this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });
  m_actFindDuplicates.SetOnExecute([this] {
    if (!m_busy && !m_found.GettingFile()) TfrmDuplicates::Execute(m_context);
  });
  CommandTable& commands = Commands();
  commands.Add({kBtnGo, &ActGo, "Go", "Go", {}, ButtonPicture::Go});
  m_found.AddCommands(commands, {kBtnCopyFile, kExecuteFile, kPropreties, kBtnExportCsv});
  commands.Add({kFindDuplicates, &m_actFindDuplicates, "Find Duplicate Files...", "Find Duplicate Files"});
  commands.Add({kBtnAdvanced, &ActAdvanced, "Switch to Advanced Search", "Switch to Advanced Search", {VK_F3},
                ButtonPicture::ShowAdvanced});
  commands.Add({0, &m_actClose, nullptr, nullptr, {VK_ESCAPE}});

  m_popupMenu = BuildMenu({Item(ActGo), Separator(), Item(m_found.ActCopyFile, MenuItem::kDefault),
                           Item(m_found.ActExecuteFile), Separator(), Item(m_found.ActPropreties), Separator(),
                           Item(ActAdvanced), Separator(), Item(m_actFindDuplicates), Separator(),
                           Item(m_found.ActExportCsv)},
                          commands);
  BindButton(m_btnGo.Handle(), ActGo);
  BindButton(m_btnCopyFile, m_found.ActCopyFile);
  BindButton(m_btnExportCsv, m_found.ActExportCsv);
  BindButton(m_btnAdvanced.Handle(), ActAdvanced);
}

void TfrmSearch::BuildControls() {
  m_edtSearch.Create({.form = this, .id = kEdtSearch, .bounds = {61, 2, 289, 21}});
  m_btnGo.Create({.form = this, .id = kBtnGo, .bounds = {352, 0, kButtonSize, kButtonSize}, .picture = true});
  m_btnAdvanced.Create(
      {.form = this, .id = kBtnAdvanced, .bounds = {378, 0, kButtonSize, kButtonSize}, .picture = true});
  // Copy File works on the list's row: a click leaves the focus there.
  const int right = DesignClient().width;
  m_btnExportCsv = CreateToolButton(Handle(), kBtnExportCsv, right - 2 * kButtonSize, 0, kButtonSize, kAnchorTopRight);
  m_btnCopyFile = CreateToolButton(Handle(), kBtnCopyFile, right - kButtonSize, 0, kButtonSize, kAnchorTopRight);
  m_panel.Create(*this, kBarHeight);  // simple mode whenever the window is made
  m_found.Create({.form = this,
                  .id = kListView1,
                  .columns = FoundFileColumns(),
                  .firstFileColumn = 0,
                  .sort = &m_session.Sort(),
                  .searching = [this] { return m_busy; },
                  .listWord = "search"});
  CreateStatusBar(kSb1, kProgressBar1);
}

void TfrmSearch::Layout() { PlaceList(kBarHeight + (m_advanced ? SearchCriteriaPanel::kHeight : 0)); }

void TfrmSearch::PaintBody(HDC dc, const RECT& client) { m_panel.Paint(dc, kBarHeight, client.right, Dpi()); }

// --- Searching -------------------------------------------------------------

void TfrmSearch::ActGoExecute() {
  GoOrCancel([this] {
    m_found.ShowRows(nullptr);
    m_results.Clear();
    SearchArchive();
    m_busy = false;
    if (!m_closing) ReportTroubles();
  });
}

void TfrmSearch::SearchArchive() {
  ShowBusyCursor(true);
  EnableSearchControls(false);
  m_session.Troubles().Clear();
  m_sb1.SetProgress(0);
  m_sb1.SetText(0, "Searching...");
  const auto finish = [this] {
    m_found.ShowRows(&m_results);
    m_sb1.ShowProgressDone();
    EnableSearchControls(true);
    m_sb1.SetText(0, FoundFilesStatus(m_results.RowCount(), m_context.services.text.ThousandsSeparator()));
    ShowBusyCursor(false);
    SetFocus(m_edtSearch.Handle());
  };
  try {
    // The field's text is read as each archive opens; the mode for each entry.
    const SearchRequest request = m_session.Request([this] { return m_edtSearch.Text(); }, m_panel.Boxes());
    m_engine->Run(m_context.run.catalogFolder, kArchiveMask, request, [this] { return m_advanced; }, m_results);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TfrmSearch::EnableSearchControls(bool enabled) {
  m_controlsEnabled = enabled;
  EnableWindow(m_btnAdvanced.Handle(), enabled);
  EnableWindow(m_found.Handle(), enabled);
  if (enabled) {
    m_searchQuiet.reset();
  } else if (!m_searchQuiet) {
    m_searchQuiet.emplace(m_found.List());
  }
  m_panel.Enable(enabled);
  ShowPicture(m_btnGo.Handle(), enabled ? ButtonPicture::Go : ButtonPicture::Cancel);
  ActGo.SetHint(enabled ? "Go" : "Cancel");
  PumpMessages();
}

void TfrmSearch::ReportTroubles() {
  const std::string troubles = m_session.Troubles().Text();
  if (!troubles.empty()) ShowAlert(Handle(), troubles);
  if (m_engine->ResultsWereFull()) {
    ShowAlert(Handle(), TooManyResultsText(m_results.RowCount(), m_context.services.text.ThousandsSeparator()));
  }
}

void TfrmSearch::RowIncomplete(const std::string& message) { ShowAlert(Handle(), message); }

void TfrmSearch::ArchiveFailed(const std::string& message) { m_session.Troubles().Add(message); }

// --- Mode --------------------------------------------------------------------

void TfrmSearch::ActAdvancedExecute() {
  m_advanced = !m_advanced;
  ShowPicture(m_btnAdvanced.Handle(), m_advanced ? ButtonPicture::HideAdvanced : ButtonPicture::ShowAdvanced);
  const char* text = m_advanced ? "Switch to Simple Search" : "Switch to Advanced Search";
  ActAdvanced.SetHint(text);
  ActAdvanced.SetCaption(text);
  // The action stays enabled while searching (F3), its button does not.
  EnableWindow(m_btnAdvanced.Handle(), m_controlsEnabled);
  m_panel.Show(m_advanced);
  Layout();
  PumpMessages();
  InvalidateRect(m_found.Handle(), nullptr, TRUE);
}

// --- Messages ----------------------------------------------------------------

bool TfrmSearch::PreTranslate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN &&
      (msg.hwnd == m_edtSearch.Handle() || m_panel.EnterRunsGo(msg.hwnd))) {
    if (IsWindowEnabled(Handle()) && ActGo.Execute()) KeyState();
    return true;
  }
  if ((msg.message == WM_CHAR || msg.message == WM_SYSCHAR) && m_panel.RefusesTyping(msg.hwnd)) return true;
  if (msg.hwnd == m_edtSearch.Handle() && msg.wParam == VK_DOWN) {
    if (msg.message == WM_SYSKEYDOWN) return true;
    if (msg.message == WM_SYSKEYUP || (msg.message == WM_KEYUP && GetKeyState(VK_MENU) < 0)) {
      if (ActAdvanced.Execute()) KeyState();
      return true;
    }
  }
  return ToolWindow::PreTranslate(msg);
}

void TfrmSearch::OnActivated() {
  SetWindowTextA(Handle(), m_session.Caption().c_str());
  if (m_session.MarksBoxAllowed()) return;
  m_panel.Enable(m_controlsEnabled);
  // The restricted window lists its archive once, when it first comes up,
  // not each time a message box or dialog of it closes.
  if (!m_autoGoDone) {
    m_autoGoDone = true;
    PostMessageA(Handle(), kMsgAutoGo, 0, 0);
  }
}

LRESULT TfrmSearch::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgAutoGo:
      // The archive's files are what the user came for: the keys go to them.
      if (ActGo.Execute() && m_found.RowCount() != 0 && !m_closing) SetFocus(m_found.Handle());
      KeyState();
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      if (HBRUSH brush = m_panel.FieldBrush(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      return DefaultHandling(message, wParam, lParam);
    }
    case WM_DRAWITEM:
      return DefaultHandling(message, wParam, lParam);
    default:
      return FoundFilesWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
