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

bool IsChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

HWND CreateList(HWND parent, int id, int x, int y, int width, std::initializer_list<const char*> items, int selected) {
  HWND combo = CreateChild(parent, WC_COMBOBOXA, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, x, y, width, 120, id);
  for (const char* item : items) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return combo;
}

}  // namespace

int TfrmSearch::Execute(AppContext& context, const std::string& mark) {
  g_restriction = mark;
  return RunModalOnce(frmSearch, [&] { return std::make_unique<TfrmSearch>(context); }, kModalCancel);
}

TfrmSearch::TfrmSearch(AppContext& context) : m_context(context) {}

TfrmSearch::~TfrmSearch() {
  for (HWND button : {m_btnGo, m_btnAdvanced, m_btnCopyFile}) {
    if (button) FreeButtonPicture(button);
  }
  for (HIMAGELIST images : {m_imgGo, m_imgListAdvanced, m_imgCopy}) {
    if (images) ImageList_Destroy(images);
  }
}

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
  SetOpeningFocus(m_edtSearch);
  KeyState();
}

void TfrmSearch::BuildActions() {
  ActGo = Action("Go", "Go", [this] { ActGoExecute(); });
  ActCopyFile = Action("Copy File", "Copy File", [this] { GetFileThen(&TfrmSearch::CopyToClipboard); });
  ActExecuteFile = Action("Execute File", "Execute File", [this] { GetFileThen(&TfrmSearch::OpenFile); });
  ActPropreties = Action("Propreties", "", [this] { ShowPropreties(); });
  ActAdvanced = Action("Switch to Advanced Search", "Switch to Advanced Search", [this] { ActAdvancedExecute(); });
  m_actClose = Action("", "", [this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });
  CommandTable& commands = Commands();
  commands.Add(kBtnGo, ActGo);
  commands.Add(kBtnCopyFile, ActCopyFile);
  commands.Add(kExecuteFile, ActExecuteFile);
  commands.Add(kPropreties, ActPropreties);
  commands.Add(kBtnAdvanced, ActAdvanced);
  commands.AddKey(VK_ESCAPE, m_actClose);
  commands.AddKey(VK_F3, ActAdvanced);

  using Item = MenuItem;
  m_popupMenu = BuildMenu({{"Go", &ActGo},
                           Separator(),
                           {"Copy File", &ActCopyFile, Item::kDefault},
                           {"Execute File", &ActExecuteFile},
                           Separator(),
                           {"Propreties", &ActPropreties},
                           Separator(),
                           {"Switch to Advanced Search", &ActAdvanced}},
                          commands);
}

void TfrmSearch::BuildControls() {
  m_hints.Attach(Handle());
  m_edtSearch = CreateEdit(Handle(), kEdtSearch, 61, 2, 289, 21);
  const DWORD pictureButton = WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP;
  m_btnGo = CreateChild(Handle(), "BUTTON", "", pictureButton, 352, 0, kButtonSize, kButtonSize, kBtnGo);
  m_btnAdvanced = CreateChild(Handle(), "BUTTON", "", pictureButton, 378, 0, kButtonSize, kButtonSize, kBtnAdvanced);
  // Copy File works on the list's row: a click leaves the focus there.
  m_btnCopyFile = CreateToolButton(Handle(), kBtnCopyFile, 0, 0, kButtonSize);
  m_imgGo = CreateButtonPictures({ButtonPicture::Go, ButtonPicture::Cancel}, Dpi());
  m_imgListAdvanced = CreateButtonPictures({ButtonPicture::ShowAdvanced, ButtonPicture::HideAdvanced}, Dpi());
  m_imgCopy = CreateButtonPictures({ButtonPicture::CopyFile}, Dpi());
  DrawButton(m_imgGo, m_btnGo, 0);
  DrawButton(m_imgListAdvanced, m_btnAdvanced, 0);
  DrawButton(m_imgCopy, m_btnCopyFile, 0);
  ActGo.BindButton(m_btnGo, &m_hints);
  ActCopyFile.BindButton(m_btnCopyFile, &m_hints);
  // Not bound: the button is disabled while searching, the action is not (F3).
  m_hints.Set(m_btnAdvanced, ActAdvanced.Hint());

  BuildAdvancedPanel();
  BuildResultList();

  m_sb1.Create(Handle(), kSb1, kProgressBar1, {400, 157, 50}, 1);
}

void TfrmSearch::BuildAdvancedPanel() {
  const int top = kBarHeight;
  const auto check = [&](int id, const char* text, int x, int y, int width, bool checked) {
    HWND box = CreateChild(Handle(), "BUTTON", text, WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFTTEXT, x, top + y, width,
                           17, id);
    SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return box;
  };
  const auto label = [&](const char* text, int x, int y, int width) {
    m_panelLabels.push_back(CreateLabel(Handle(), 0, text, x, top + y, width, 16));
  };
  m_chkMarked = check(kChkMarked, "Marks", 61, 16, 52, false);
  m_chkDir = check(kChkDir, "Directories", 130, 16, 76, true);
  m_chkFile = check(kChkFile, "File names", 220, 16, 84, true);
  m_chkType = check(kChkType, "File type", 321, 16, 70, true);
  m_chkCase = check(kChkCase, "Case sensitive", 22, 45, 92, false);
  m_chkDate = check(kChkDate, "Date modified", 25, 72, 89, false);
  label("from:", 121, 74, 28);
  m_dtpFrom.Create({this, kDtpFrom, {150, top + 70, 84, 21}, false, "dd/MM/yyyy"});
  label("to:", 241, 74, 16);
  m_dtpTo.Create({this, kDtpTo, {259, top + 70, 84, 21}, false, "dd/MM/yyyy"});
  m_chkSize = check(kChkSize, "By file size", 41, 104, 73, false);
  m_cmbSize = CreateList(Handle(), kCmbSize, 120, top + 102, 60, {"at least", "at most"}, 0);
  label("Specify size:", 188, 105, 62);
  m_updSize.Create({this, kUpdSize, kEdtSize, {251, top + 102, 71, 21}, 0, 32767, 0});
  SendMessageA(m_updSize.Edit(), EM_LIMITTEXT, 5, 0);
  label("in:", 344, 105, 16);
  m_cmbMultipler =
      CreateList(Handle(), kCmbMultipler, 361, top + 102, 81, {"Bytes", "KiloBytes", "MegaBytes", "GigaBytes"}, 1);

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
  RECT client{};
  GetClientRect(Handle(), &client);
  m_sb1.Layout();
  const int statusHeight = m_sb1.Height();
  SetWindowPos(m_btnCopyFile, nullptr, client.right - kButtonSize, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const int listTop = kBarHeight + (m_advanced ? kPanelHeight : 0);
  SetWindowPos(m_listView1.Handle(), nullptr, 0, listTop, client.right, std::max(0L, client.bottom - statusHeight - listTop),
               SWP_NOZORDER);
  FitColumns();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TfrmSearch::PaintBody(HDC dc, const RECT& client) {
  if (!m_advanced) return;
  RECT panel{0, kBarHeight, client.right, kBarHeight + kPanelHeight};
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
    SetFocus(m_edtSearch);
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
  EnableWindow(m_btnAdvanced, enabled);
  EnableWindow(m_listView1.Handle(), enabled);
  if (enabled) {
    m_searchQuiet.reset();
  } else if (!m_searchQuiet) {
    m_searchQuiet.emplace(m_listView1);
  }
  ApplyPanelState();
  DrawButton(m_imgGo, m_btnGo, enabled ? 0 : 1);
  ActGo.SetHint(enabled ? "Go" : "Cancel");
  PumpMessages();
}

void TfrmSearch::ApplyPanelState() {
  const bool panel = m_controlsEnabled;
  EnableWindow(m_chkMarked, panel && g_restriction.empty());
  for (HWND box : {m_chkDir, m_chkFile, m_chkType, m_chkCase, m_chkDate, m_chkSize}) EnableWindow(box, panel);
  const bool dates = panel && IsChecked(m_chkDate);
  EnableWindow(m_dtpFrom.Handle(), dates);
  EnableWindow(m_dtpTo.Handle(), dates);
  const bool sizes = panel && IsChecked(m_chkSize);
  for (HWND control : {m_cmbSize, m_updSize.Edit(), m_updSize.Handle(), m_cmbMultipler}) EnableWindow(control, sizes);
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

std::string TfrmSearch::SearchText() const { return WindowText(m_edtSearch); }

AdvancedCriteria TfrmSearch::Advanced() const {
  AdvancedCriteria criteria;
  criteria.marks = IsChecked(m_chkMarked);
  criteria.directories = IsChecked(m_chkDir);
  criteria.fileNames = IsChecked(m_chkFile);
  criteria.fileTypes = IsChecked(m_chkType);
  criteria.caseSensitive = IsChecked(m_chkCase);
  criteria.byDate = IsChecked(m_chkDate);
  criteria.dates = g_dateBounds;
  criteria.bySize = IsChecked(m_chkSize);
  criteria.sizeAtMost = IsAtMost(WindowText(m_cmbSize));
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
  DrawButton(m_imgListAdvanced, m_btnAdvanced, m_advanced ? 1 : 0);
  const char* text = m_advanced ? "Switch to Simple Search" : "Switch to Advanced Search";
  ActAdvanced.SetHint(text);
  m_hints.Set(m_btnAdvanced, text);
  ActAdvanced.SetCaption(text);
  ShowAdvancedPanel();
  PumpMessages();
}

void TfrmSearch::ShowAdvancedPanel() {
  const int show = m_advanced ? SW_SHOW : SW_HIDE;
  for (HWND control : {m_chkMarked, m_chkDir, m_chkFile, m_chkType, m_chkCase, m_chkDate, m_chkSize, m_cmbSize,
                       m_cmbMultipler, m_dtpFrom.Handle(), m_dtpTo.Handle(), m_updSize.Edit(), m_updSize.Handle()}) {
    ShowWindow(control, show);
  }
  for (HWND label : m_panelLabels) ShowWindow(label, show);
  Layout();
}

void TfrmSearch::chkSizeClick() {
  ApplyPanelState();
  for (HWND field : {m_cmbSize, m_updSize.Edit(), m_cmbMultipler}) InvalidateRect(field, nullptr, TRUE);
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

void TfrmSearch::SizeChange() { g_sizeThreshold = SizeThresholdOf(m_updSize.Position(), WindowText(m_cmbMultipler)); }

void TfrmSearch::edtSizeExit() {
  SetWindowTextA(m_updSize.Edit(),
                 FormatCount(m_updSize.Position(), m_context.services.text.ThousandsSeparator()).c_str());
}

HBRUSH TfrmSearch::FieldBrush(HWND control, HDC dc) const {
  if (control == m_cmbSize || control == m_updSize.Edit() || control == m_cmbMultipler) {
    // The size fields look switched off while their box is cleared.
    const int colour = IsChecked(m_chkSize) ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(colour));
    return GetSysColorBrush(colour);
  }
  if (m_advanced && GetParent(control) == Handle()) {
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&bounds), 2);
    if (bounds.top >= kBarHeight && bounds.bottom <= kBarHeight + kPanelHeight) {
      SetBkMode(dc, TRANSPARENT);
      SetBkColor(dc, kPanelColour);
      return static_cast<HBRUSH>(m_panelBrush.get());
    }
  }
  return nullptr;
}

// --- Messages ----------------------------------------------------------------

bool TfrmSearch::EnterRunsGo(HWND control) const {
  for (HWND candidate : {m_edtSearch, m_chkMarked, m_chkDir, m_chkFile, m_chkType, m_chkCase, m_chkDate, m_chkSize,
                         m_dtpFrom.Handle(), m_dtpTo.Handle(), m_updSize.Edit(), m_cmbSize, m_cmbMultipler}) {
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
  if ((msg.message == WM_CHAR || msg.message == WM_SYSCHAR) && (msg.hwnd == m_cmbSize || msg.hwnd == m_cmbMultipler)) {
    return true;
  }
  if (msg.hwnd == m_edtSearch && msg.wParam == VK_DOWN) {
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

void TfrmSearch::OnCommand(int id, int code) {
  switch (id) {
    case kChkDate:
      if (code == BN_CLICKED) chkDateClick();
      break;
    case kChkSize:
      if (code == BN_CLICKED) chkSizeClick();
      break;
    case kCmbSize:
    case kCmbMultipler:
      if (code == CBN_SELCHANGE) SizeChange();
      break;
    case kEdtSize:
      if (code == EN_CHANGE) SizeChange();
      if (code == EN_KILLFOCUS) edtSizeExit();
      break;
    default:
      break;
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
