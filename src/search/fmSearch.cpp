#include "search/fmSearch.h"

#include <commctrl.h>

#include <algorithm>

#include "catalog/CatalogFolder.h"
#include "catalog/NumberFormat.h"
#include "platform/ProgramName.h"
#include "search/fmSearchIds.h"
#include "settings/SettingsNames.h"
#include "ui/ButtonPictures.h"
#include "ui/Menus.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

using namespace fmSearchIds;

TfrmSearch* frmSearch = nullptr;

// What outlives the window for the rest of the run: the restriction the
// last opener gave, and the date and size filters' values.
std::string g_restriction;
DateBounds g_dateBounds;
std::int64_t g_sizeThreshold = 0;

// Design units.
constexpr int kWindowWidth = 584;  // also the smallest size
constexpr int kWindowHeight = 360;
constexpr int kBarHeight = 25;
constexpr int kPanelHeight = 139;
constexpr int kButtonSize = 25;
constexpr COLORREF kPanelColour = RGB(125, 154, 189);
constexpr int kProgressStep = 10;
// Posted at the first activation of a restricted window: its search starts
// once the window is up.
constexpr UINT kMsgAutoGo = WM_APP + 1;
constexpr std::size_t kTroublesListed = 10;

// The least design height whose pixels at `dpi` cover `pixels`.
int DesignCovering(int pixels, UINT dpi) {
  int design = ScaleFromDpi(pixels, dpi);
  if (ScaleToDpi(design, dpi) < pixels) ++design;
  return design;
}

}  // namespace

int TfrmSearch::Execute(AppContext& context, const std::string& mark) {
  g_restriction = mark;
  return RunModalOnce(frmSearch, [&] { return std::make_unique<TfrmSearch>(context); }, kModalCancel);
}

TfrmSearch::TfrmSearch(AppContext& context) : m_context(context) {}

// The controls go with the window, before their wrappers and what they
// report to.
TfrmSearch::~TfrmSearch() { DestroyDetached(); }

void TfrmSearch::Create() {
  CreateToolWindow(
      {kClassName, "Search", kWindowWidth, kWindowHeight, &m_context.services.settings, names::kFormSearch});
  m_panelBrush.reset(CreateSolidBrush(kPanelColour));
  BuildActions();
  BuildControls();
  m_engine = std::make_unique<SearchEngine>(m_context.services.files, m_context.services.text, m_pump,
                                            static_cast<SearchCriteriaSource&>(*this),
                                            static_cast<SearchObserver&>(*this));
  Layout();
  SetOpeningFocus(m_edtSearch.Handle());
  KeyState();
}

void TfrmSearch::BuildActions() {
  ActGo.SetOnExecute([this] { ActGoExecute(); });
  ActCopyFile.SetOnExecute([this] { GetFileThen(&TfrmSearch::CopyToClipboard); });
  ActExecuteFile.SetOnExecute([this] { GetFileThen(&TfrmSearch::OpenFile); });
  ActPropreties.SetOnExecute([this] { ShowPropreties(); });
  ActAdvanced.SetOnExecute([this] { ActAdvancedExecute(); });
  m_actClose.SetOnExecute([this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });
  CommandTable& commands = Commands();
  commands.Add({kBtnGo, &ActGo, "Go", "Go", {}, ButtonPicture::Go});
  commands.Add({kBtnCopyFile, &ActCopyFile, "Copy File", "Copy File", {}, ButtonPicture::CopyFile});
  commands.Add({kExecuteFile, &ActExecuteFile, "Execute File", "Execute File"});
  commands.Add({kPropreties, &ActPropreties, "Propreties"});
  commands.Add({kBtnAdvanced, &ActAdvanced, "Switch to Advanced Search", "Switch to Advanced Search", {VK_F3},
                ButtonPicture::ShowAdvanced});
  commands.Add({0, &m_actClose, nullptr, nullptr, {VK_ESCAPE}});

  m_popupMenu = BuildMenu({Item(ActGo), Separator(), Item(ActCopyFile, MenuItem::kDefault), Item(ActExecuteFile),
                           Separator(), Item(ActPropreties), Separator(), Item(ActAdvanced)},
                          commands);
}

void TfrmSearch::BuildControls() {
  m_edtSearch.Create({.form = this, .id = kEdtSearch, .bounds = {61, 2, 289, 21}});
  m_btnGo.Create({.form = this, .id = kBtnGo, .bounds = {352, 0, kButtonSize, kButtonSize}, .picture = true});
  m_btnAdvanced.Create(
      {.form = this, .id = kBtnAdvanced, .bounds = {378, 0, kButtonSize, kButtonSize}, .picture = true});
  // Copy File works on the list's row: a click leaves the focus there.
  m_btnCopyFile =
      CreateToolButton(Handle(), kBtnCopyFile, DesignClient().width - kButtonSize, 0, kButtonSize, kAnchorTopRight);
  BindButton(m_btnGo.Handle(), ActGo);
  BindButton(m_btnCopyFile, ActCopyFile);
  BindButton(m_btnAdvanced.Handle(), ActAdvanced);

  BuildAdvancedPanel();
  BuildResultList();

  m_sb1.Create(Handle(), kSb1, kProgressBar1, {400, 157, 50}, 1);
}

void TfrmSearch::BuildAdvancedPanel() {
  const int top = kBarHeight;
  const auto check = [&](CheckBox& box, int id, const char* text, int x, int y, int width, bool checked) {
    box.Create({.form = this, .id = id, .text = text, .bounds = {x, top + y, width, 17}, .checked = checked,
                .textLeft = true});
    m_panelControls.push_back(box.Handle());
  };
  int labels = 0;
  const auto label = [&](const char* text, int x, int y, int width, DWORD style = SS_LEFT) {
    Label& label = m_panelLabels[labels++];
    label.Create({.form = this, .text = text, .bounds = {x, top + y, width, 16}, .style = style});
    m_panelControls.push_back(label.Handle());
  };
  check(m_chkMarked, kChkMarked, "Marks", 61, 16, 52, false);
  check(m_chkDir, kChkDir, "Directories", 130, 16, 76, true);
  check(m_chkFile, kChkFile, "File names", 220, 16, 84, true);
  check(m_chkType, kChkType, "File type", 321, 16, 70, true);
  check(m_chkCase, kChkCase, "Case sensitive", 22, 45, 92, false);
  check(m_chkDate, kChkDate, "Date modified", 25, 72, 89, false);
  label("from:", 121, 74, 28);
  m_dtpFrom.Create({this, kDtpFrom, {150, top + 70, 84, 21}, false, "dd/MM/yyyy"});
  label("to:", 241, 74, 16);
  m_dtpTo.Create({this, kDtpTo, {259, top + 70, 84, 21}, false, "dd/MM/yyyy"});
  check(m_chkSize, kChkSize, "By file size", 41, 104, 73, false);
  m_cmbSize.Create(
      {.form = this, .id = kCmbSize, .bounds = {120, top + 102, 60, 21}, .items = {"at least", "at most"}});
  label("Specify size:", 182, 105, 68, SS_RIGHT);
  m_updSize.Create({this, kUpdSize, kEdtSize, {251, top + 102, 71, 21}, 0, 32767, 0});
  SendMessageA(m_updSize.Edit(), EM_LIMITTEXT, 5, 0);
  m_updSize.Field().onChange = [this] { SizeChange(); };
  m_updSize.Field().onExit = [this] { edtSizeExit(); };
  label("in:", 344, 105, 16);
  m_cmbMultipler.Create({.form = this, .id = kCmbMultipler, .bounds = {361, top + 102, 81, 21},
                         .items = {"Bytes", "KiloBytes", "MegaBytes", "GigaBytes"}, .selected = 1});
  for (HWND control : {m_dtpFrom.Handle(), m_dtpTo.Handle(), m_cmbSize.Handle(), m_updSize.Edit(), m_updSize.Handle(),
                       m_cmbMultipler.Handle()}) {
    m_panelControls.push_back(control);
  }

  m_chkDate.onClick = [this] { chkDateClick(); };
  m_chkSize.onClick = [this] { chkSizeClick(); };
  m_cmbSize.onChange = [this] { SizeChange(); };
  m_cmbMultipler.onChange = [this] { SizeChange(); };
  const LocalTime now = m_context.services.text.Now();
  m_dtpFrom.SetDate(now);
  m_dtpTo.SetDate(now);
  for (DatePicker* picker : {&m_dtpFrom, &m_dtpTo}) {
    picker->onChanged = [this](std::optional<LocalTime>) { DateChange(); };
    picker->onDropDown = [](HWND calendar) {
      // No line naming today and no circle around it.
      const LONG style = GetWindowLongA(calendar, GWL_STYLE);
      SetWindowLongA(calendar, GWL_STYLE, style | MCS_NOTODAY | MCS_NOTODAYCIRCLE);
    };
  }
  ApplyPanelState();
  ShowAdvancedPanel();  // simple mode whenever the window is made
}

void TfrmSearch::Layout() {
  if (!m_sb1.Handle()) return;  // sizes sent while the window is being made
  m_sb1.Layout();
  // The list fills the window from the bar or the panel down to the status
  // bar, whose height follows its font.
  const DesignSize client = DesignClient();
  const int statusHeight = DesignCovering(m_sb1.Height(), Dpi());
  const int listTop = kBarHeight + (m_advanced ? kPanelHeight : 0);
  Place(m_listView1.Handle(), {0, listTop, client.width, std::max(0, client.height - statusHeight - listTop)},
        kAnchorAll);
  FitColumns();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TfrmSearch::PaintBody(HDC dc, const RECT& client) {
  if (!m_advanced) return;
  RECT panel{0, ScaleToDpi(kBarHeight, Dpi()), client.right, ScaleToDpi(kBarHeight + kPanelHeight, Dpi())};
  FillRect(dc, &panel, static_cast<HBRUSH>(m_panelBrush.get()));
}

// --- Searching -------------------------------------------------------------

void TfrmSearch::ActGoExecute() {
  // A Go while searching is the Cancel. The search stays busy until it has
  // wound down, so a Go in the meantime cannot start a second search inside
  // the first one.
  if (m_busy) {
    m_engine->Abort();
    return;
  }
  // A search does not start inside the wait for a file's disc.
  if (m_gettingFile) return;
  m_busy = true;
  struct Idle {
    bool& busy;
    ~Idle() { busy = false; }
  } idle{m_busy};
  PumpMessages();
  {
    ListView::RedrawSuspension quiet(m_listView1);
    m_listView1.SetRowCount(0);
    m_order.clear();
    m_results.Clear();
  }
  SearchArchive();
  m_busy = false;
  if (!m_closing) ReportTroubles();
}

void TfrmSearch::SearchArchive() {
  ShowBusyCursor(true);
  EnableSearchControls(false);
  m_troubles.clear();
  m_sb1.SetProgress(0);
  m_sb1.SetText(0, "Searching...");
  const auto finish = [this] {
    m_listView1.SetRowCount(static_cast<int>(m_results.RowCount()));
    m_sb1.ShowProgressDone();
    EnableSearchControls(true);
    DrawResults();
    ShowBusyCursor(false);
    SetFocus(m_edtSearch.Handle());
  };
  try {
    m_engine->Run(m_context.run.catalogFolder, kArchiveMask, m_results);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TfrmSearch::EnableSearchControls(bool enabled) {
  m_controlsEnabled = enabled;
  EnableWindow(m_btnAdvanced.Handle(), enabled);
  EnableWindow(m_listView1.Handle(), enabled);
  if (enabled) {
    m_searchQuiet.reset();
  } else if (!m_searchQuiet) {
    m_searchQuiet.emplace(m_listView1);
  }
  ApplyPanelState();
  ShowPicture(m_btnGo.Handle(), enabled ? ButtonPicture::Go : ButtonPicture::Cancel);
  ActGo.SetHint(enabled ? "Go" : "Cancel");
  PumpMessages();
}

void TfrmSearch::ApplyPanelState() {
  const bool panel = m_controlsEnabled;
  EnableWindow(m_chkMarked.Handle(), panel && g_restriction.empty());
  for (const CheckBox* box : {&m_chkDir, &m_chkFile, &m_chkType, &m_chkCase, &m_chkDate, &m_chkSize}) {
    EnableWindow(box->Handle(), panel);
  }
  const bool dates = panel && m_chkDate.Checked();
  EnableWindow(m_dtpFrom.Handle(), dates);
  EnableWindow(m_dtpTo.Handle(), dates);
  const bool sizes = panel && m_chkSize.Checked();
  for (HWND control : {m_cmbSize.Handle(), m_updSize.Edit(), m_updSize.Handle(), m_cmbMultipler.Handle()}) {
    EnableWindow(control, sizes);
  }
}

void TfrmSearch::DrawResults() {
  const bool any = !m_results.Empty();
  m_sb1.SetText(0,
                any ? "Files: " + FormatCount(static_cast<std::int64_t>(m_results.RowCount()),
                                          m_context.services.text.ThousandsSeparator())
                : "There are no results to display.");
  m_listView1.TakeTabStop(any);
}

void TfrmSearch::ReportTroubles() {
  if (!m_troubles.empty()) {
    std::string text = "These archives could not be searched; the files found in the others are listed.\r\n";
    for (std::size_t i = 0; i < m_troubles.size() && i < kTroublesListed; ++i) text += "\r\n" + m_troubles[i];
    if (m_troubles.size() > kTroublesListed) {
      text += "\r\n... and " + std::to_string(m_troubles.size() - kTroublesListed) + " more.";
    }
    ShowAlert(Handle(), text);
  }
  if (m_engine->ResultsWereFull()) {
    ShowAlert(Handle(), "Too many results: the search stopped after " +
                            FormatCount(static_cast<std::int64_t>(m_results.RowCount()),
                                        m_context.services.text.ThousandsSeparator()) +
                            " files, which are listed. Narrow the search to see the others.");
  }
}

std::string TfrmSearch::SearchText() const { return m_edtSearch.Text(); }

AdvancedCriteria TfrmSearch::Advanced() const {
  AdvancedCriteria criteria;
  criteria.marks = m_chkMarked.Checked();
  criteria.directories = m_chkDir.Checked();
  criteria.fileNames = m_chkFile.Checked();
  criteria.fileTypes = m_chkType.Checked();
  criteria.caseSensitive = m_chkCase.Checked();
  criteria.byDate = m_chkDate.Checked();
  criteria.dates = g_dateBounds;
  criteria.bySize = m_chkSize.Checked();
  criteria.sizeAtMost = IsAtMost(WindowText(m_cmbSize.Handle()));
  criteria.sizeThreshold = g_sizeThreshold;
  return criteria;
}

std::string TfrmSearch::Restriction() const { return g_restriction; }

void TfrmSearch::ArchiveSearched() {
  // Full stays full: the bar does not start over.
  m_sb1.SetProgress(std::min(100, m_sb1.Progress() + kProgressStep));
}

void TfrmSearch::RowIncomplete(const std::string& message) { ShowAlert(Handle(), message); }

void TfrmSearch::ArchiveFailed(const std::string& message) { m_troubles.push_back(message); }

// --- Mode, filters, sorting --------------------------------------------------

void TfrmSearch::ActAdvancedExecute() {
  m_advanced = !m_advanced;
  DrawSpeedButtonState();
  InvalidateRect(m_listView1.Handle(), nullptr, TRUE);
}

void TfrmSearch::DrawSpeedButtonState() {
  ShowPicture(m_btnAdvanced.Handle(), m_advanced ? ButtonPicture::HideAdvanced : ButtonPicture::ShowAdvanced);
  const char* text = m_advanced ? "Switch to Simple Search" : "Switch to Advanced Search";
  ActAdvanced.SetHint(text);
  ActAdvanced.SetCaption(text);
  // The action stays enabled while searching (F3), its button does not.
  EnableWindow(m_btnAdvanced.Handle(), m_controlsEnabled);
  ShowAdvancedPanel();
  PumpMessages();
}

void TfrmSearch::ShowAdvancedPanel() {
  const int show = m_advanced ? SW_SHOW : SW_HIDE;
  for (HWND control : m_panelControls) ShowWindow(control, show);
  Layout();
}

void TfrmSearch::chkSizeClick() {
  ApplyPanelState();
  for (HWND field : {m_cmbSize.Handle(), m_updSize.Edit(), m_cmbMultipler.Handle()}) {
    InvalidateRect(field, nullptr, TRUE);
  }
  SizeChange();
}

void TfrmSearch::chkDateClick() {
  ApplyPanelState();
  DateChange();
}

void TfrmSearch::DateChange() {
  const auto from = m_dtpFrom.Date();
  const auto to = m_dtpTo.Date();
  if (from && to) g_dateBounds = DateBoundsOf(*from, *to);
}

void TfrmSearch::SizeChange() {
  g_sizeThreshold = SizeThresholdOf(m_updSize.Position(), WindowText(m_cmbMultipler.Handle()));
}

void TfrmSearch::edtSizeExit() {
  SetWindowTextA(m_updSize.Edit(),
                 FormatCount(m_updSize.Position(), m_context.services.text.ThousandsSeparator()).c_str());
}

HBRUSH TfrmSearch::FieldBrush(HWND control, HDC dc) const {
  if (control == m_cmbSize.Handle() || control == m_updSize.Edit() || control == m_cmbMultipler.Handle()) {
    // The size fields look switched off while their box is cleared.
    const int colour = m_chkSize.Checked() ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(colour));
    return GetSysColorBrush(colour);
  }
  if (m_advanced && std::find(m_panelControls.begin(), m_panelControls.end(), control) != m_panelControls.end()) {
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, kPanelColour);
    return static_cast<HBRUSH>(m_panelBrush.get());
  }
  return nullptr;
}

// --- Messages ----------------------------------------------------------------

bool TfrmSearch::EnterRunsGo(HWND control) const {
  for (HWND candidate : {m_edtSearch.Handle(), m_chkMarked.Handle(), m_chkDir.Handle(), m_chkFile.Handle(),
                         m_chkType.Handle(), m_chkCase.Handle(), m_chkDate.Handle(), m_chkSize.Handle(),
                         m_dtpFrom.Handle(), m_dtpTo.Handle(), m_updSize.Edit(), m_cmbSize.Handle(),
                         m_cmbMultipler.Handle()}) {
    if (control == candidate) return true;
  }
  return false;
}

bool TfrmSearch::PreTranslate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && EnterRunsGo(msg.hwnd)) {
    if (IsWindowEnabled(Handle()) && ActGo.Execute()) KeyState();
    return true;
  }
  // Nothing can be typed into the two lists, not even a letter that picks an item.
  if ((msg.message == WM_CHAR || msg.message == WM_SYSCHAR) &&
      (msg.hwnd == m_cmbSize.Handle() || msg.hwnd == m_cmbMultipler.Handle())) {
    return true;
  }
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
  if (g_restriction.empty()) {
    SetWindowTextA(Handle(), (std::string(kProgramName) + " (search all archives)").c_str());
    return;
  }
  SetWindowTextA(Handle(), (std::string(kProgramName) + " (search only " + g_restriction + " archive)").c_str());
  ApplyPanelState();
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
      if (ActGo.Execute() && !m_results.Empty() && !m_closing) SetFocus(m_listView1.Handle());
      KeyState();
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      if (HBRUSH brush = FieldBrush(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      return DefaultHandling(message, wParam, lParam);
    }
    case WM_DRAWITEM:
      return DefaultHandling(message, wParam, lParam);
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == m_listView1.Handle()) {
        PopUpMenu(m_popupMenu.get(), m_listView1.PopupMenuPoint(lParam));
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_CLOSE:
      // Always granted; a running search stops first.
      m_closing = true;
      if (m_busy) m_engine->Abort();
      EndModal(kModalCancel);
      return 0;
    default:
      return ToolWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
