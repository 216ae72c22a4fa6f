#include "search/fmSearch.h"

#include <commctrl.h>

#include "catalog/CatalogFolder.h"
#include "platform/ScopeExit.h"
#include "search/FoundColumns.h"
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

// Design units.
constexpr int kBarHeight = 25;
constexpr int kButtonSize = 25;
// Posted at the first activation of a restricted window: its search starts
// once the window is up.
constexpr UINT kMsgAutoGo = WM_APP + 1;

}  // namespace

int TfrmSearch::Execute(AppContext& context, const std::string& mark) {
  context.run.lists.search.Restrict(mark);
  return RunModalOnce(frmSearch, [&] { return std::make_unique<TfrmSearch>(context); }, kModalCancel);
}

TfrmSearch::TfrmSearch(AppContext& context)
    : m_context(context),
      m_session(context.run.lists.search),
      m_found(context),
      m_panel(m_session, context.services.text),
      m_run({*this, kBtnGo, Status(), m_found, [this] { m_engine->Abort(); },
             [this](bool idle) { ShowSearchControls(idle); }}) {}

// The controls go with the window, before their wrappers and what they
// report to.
TfrmSearch::~TfrmSearch() { DestroyDetached(); }

void TfrmSearch::Create() {
  CreateToolWindow({kClassName, "Search", &m_context.services.settings, names::kFormSearch});
  BuildControls();
  BuildCommands();
  m_run.onRowIncomplete = [this](const std::string& message) { ShowAlert(Handle(), message); };
  m_run.onArchiveFailed = [this](const std::string& message) { m_session.Troubles().Add(message); };
  m_engine = std::make_unique<SearchEngine>(m_context.services.files, m_context.services.text, m_run.Pump(), m_run);
  SetOpeningFocus(m_edtSearch.Handle());
  KeyState();
}

void TfrmSearch::BuildCommands() {
  CommandTable& commands = Commands();
  commands.Add({.id = kBtnGo, .caption = "Go", .picture = ButtonPicture::Go, .run = [this] { Go(); }});
  commands.Add({.id = kFindDuplicates,
                .caption = "Find Duplicate Files...",
                .hint = "Find Duplicate Files",
                .run = [this] {
                  if (!m_run.Busy() && !m_found.GettingFile()) TfrmDuplicates::Execute(m_context);
                }});
  commands.Add({.id = kBtnAdvanced,
                .caption = "Switch to Advanced Search",
                .keys = {VK_F3},
                .picture = ButtonPicture::ShowAdvanced,
                .run = [this] { SwitchMode(); }});
  BindButton(m_btnGo.Handle());
  BindButton(m_btnAdvanced.Handle());

  std::vector<MenuItem> menu{Item(kBtnGo), Separator()};
  for (MenuItem& item : FoundFilesList::FileMenuItems()) menu.push_back(std::move(item));
  menu.insert(menu.end(), {Separator(), Item(kBtnAdvanced), Separator(), Item(kFindDuplicates), Separator(),
                           FoundFilesList::ShowInFolderMenuItem(), Separator(), FoundFilesList::ExportMenuItem()});
  FrameList(m_found.List(), ListTop(), BuildMenu(menu, commands));
}

void TfrmSearch::BuildControls() {
  m_edtSearch.Create({.form = this, .id = kEdtSearch, .bounds = {61, 2, 289, 21}});
  m_btnGo.Create({.form = this, .id = kBtnGo, .bounds = {352, 0, kButtonSize, kButtonSize}, .picture = true});
  m_btnAdvanced.Create(
      {.form = this, .id = kBtnAdvanced, .bounds = {378, 0, kButtonSize, kButtonSize}, .picture = true});
  m_panel.Create(*this, kBarHeight);  // simple mode whenever the window is made
  m_found.Create({.form = this,
                  .id = kListView1,
                  .columns = FoundListColumnsOf(kFoundColumns),
                  .sort = &m_session.Sort(),
                  .searching = [this] { return m_run.Busy(); },
                  .listWord = "search"});
}

int TfrmSearch::ListTop() const { return kBarHeight + (m_advanced ? SearchCriteriaPanel::kHeight : 0); }

void TfrmSearch::PaintBody(HDC dc, const RECT& client) { m_panel.Paint(dc, kBarHeight, client.right, Dpi()); }

// --- Searching -------------------------------------------------------------

void TfrmSearch::Go() {
  m_run.GoOrCancel([this] {
    m_found.ShowRows(nullptr);
    m_results.Clear();
    SearchArchive();
    m_run.Done();
    if (!Closing()) ReportTroubles();
  });
}

void TfrmSearch::SearchArchive() {
  m_run.ShowRunning();
  m_session.Troubles().Clear();
  ScopeExit finish([this] {
    m_found.ShowRows(&m_results);
    m_run.ShowIdle();
    Status().SetText(0, FoundFilesStatus(m_results.RowCount(), m_context.services.text.ThousandsSeparator()));
    SetFocus(m_edtSearch.Handle());
  });
  // The field's text is read as each archive opens; the mode for each entry.
  const SearchRequest request = m_session.Request([this] { return m_edtSearch.Text(); }, m_panel.Boxes());
  m_engine->Run(m_context.run.catalogFolder, kArchiveMask, request, [this] { return m_advanced; }, m_results);
}

void TfrmSearch::ShowSearchControls(bool idle) {
  m_controlsEnabled = idle;
  EnableWindow(m_btnAdvanced.Handle(), idle);
  m_panel.Enable(idle);
  if (idle) PumpMessages();
}

void TfrmSearch::ReportTroubles() {
  const std::string troubles = m_session.Troubles().Text();
  if (!troubles.empty()) ShowAlert(Handle(), troubles);
  if (m_engine->ResultsWereFull()) {
    ShowAlert(Handle(), TooManyResultsText(m_results.RowCount(), m_context.services.text.ThousandsSeparator()));
  }
}

// --- Mode --------------------------------------------------------------------

void TfrmSearch::SwitchMode() {
  m_advanced = !m_advanced;
  ShowPicture(m_btnAdvanced.Handle(), m_advanced ? ButtonPicture::HideAdvanced : ButtonPicture::ShowAdvanced);
  const char* text = m_advanced ? "Switch to Simple Search" : "Switch to Advanced Search";
  Action& action = *Commands().ForCommand(kBtnAdvanced);
  action.SetHint(text);
  action.SetCaption(text);
  // The command stays enabled while searching (F3), its button does not.
  EnableWindow(m_btnAdvanced.Handle(), m_controlsEnabled);
  m_panel.Show(m_advanced);
  MoveListTop(ListTop());
  PumpMessages();
  InvalidateRect(m_found.Handle(), nullptr, TRUE);
}

// --- Messages ----------------------------------------------------------------

bool TfrmSearch::PreTranslate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN &&
      (msg.hwnd == m_edtSearch.Handle() || m_panel.EnterRunsGo(msg.hwnd))) {
    if (IsWindowEnabled(Handle())) RunCommand(kBtnGo);
    return true;
  }
  if ((msg.message == WM_CHAR || msg.message == WM_SYSCHAR) && m_panel.RefusesTyping(msg.hwnd)) return true;
  if (msg.hwnd == m_edtSearch.Handle() && msg.wParam == VK_DOWN) {
    if (msg.message == WM_SYSKEYDOWN) return true;
    if (msg.message == WM_SYSKEYUP || (msg.message == WM_KEYUP && GetKeyState(VK_MENU) < 0)) {
      RunCommand(kBtnAdvanced);
      return true;
    }
  }
  return ToolWindow::PreTranslate(msg);
}

void TfrmSearch::OnActivated() {
  SetTextOf(Handle(), m_session.Caption());
  if (m_session.MarksBoxAllowed()) return;
  m_panel.Enable(m_controlsEnabled);
  // The restricted window lists its archive once, when it first comes up,
  // not each time a message box or dialog of it closes.
  if (!m_autoGoDone) {
    m_autoGoDone = true;
    PostMessageW(Handle(), kMsgAutoGo, 0, 0);
  }
}

LRESULT TfrmSearch::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgAutoGo: {
      // The archive's files are what the user came for: the keys go to them.
      Action& go = *Commands().ForCommand(kBtnGo);
      if (go.Execute() && m_found.RowCount() != 0 && !Closing()) SetFocus(m_found.Handle());
      KeyState();
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      if (HBRUSH brush = m_panel.FieldBrush(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      return DefaultHandling(message, wParam, lParam);
    }
    default:
      return ToolWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
