#include "browser/fmArchive.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <utility>

#include "browser/fmArchiveIds.h"
#include "browser/win32/DiscPictures.h"
#include "platform/AppError.h"
#include "settings/Settings.h"
#include "settings/SettingsNames.h"
#include "ui/ButtonPictures.h"
#include "ui/Menus.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

using namespace fmArchiveIds;

TfrmArchive* frmArchive = nullptr;

// The sort outlives the window: the next opening starts where this one ended.
ColumnSortState g_sort;

constexpr int kWindowWidth = 584;  // also the smallest size
constexpr int kWindowHeight = 360;
constexpr int kButtonSize = 25;  // as high as the band
// The window shows itself before the catalogue is read.
constexpr UINT kScanDelayMs = 150;
constexpr std::size_t kUnreadableListed = 10;
// The load pumps messages and moves its progress bar this often, not after
// each of thousands of archives.
constexpr std::chrono::milliseconds kLoadPumpInterval{20};

struct ViewStyle {
  const char* text;  // as stored
  ListViewMode mode;
};
// In the order the view toggle steps through them; the style actions follow it.
constexpr ViewStyle kViewStyles[] = {{"vsIcon", ListViewMode::Icon},
                                     {"vsSmallIcon", ListViewMode::SmallIcon},
                                     {"vsList", ListViewMode::List},
                                     {"vsReport", ListViewMode::Details}};

}  // namespace

int TfrmArchive::Execute(AppContext& context) {
  return RunModalOnce(frmArchive, [&] { return std::make_unique<TfrmArchive>(context); }, kModalCancel);
}

TfrmArchive::TfrmArchive(AppContext& context) : m_context(context) {}

TfrmArchive::~TfrmArchive() {
  // The list draws with the image lists until it is gone.
  DestroyDetached();
}

void TfrmArchive::Create() {
  CreateToolWindow(
      {kClassName, "Catalog", kWindowWidth, kWindowHeight, &m_context.services.settings, names::kFormArchive});
  BuildActions();
  BuildToolButtons();
  BuildList();
  m_sb1.Create(Handle(), kSb1, kProgressBar1, {400, 157, 50}, 1);
  // Nothing is painted in the list until the first load is done.
  m_firstLoadQuiet.emplace(m_listView1);
  Layout();
  SetOpeningFocus(m_listView1.Handle());
  KeyState();
  PumpMessages();
  SetTimer(Handle(), kTimScan, kScanDelayMs, nullptr);
}

void TfrmArchive::BuildActions() {
  ActAdd = Action("", "", [this] { ActAddExecute(); });
  ActEdit = Action("", "", [this] { ActEditExecute(); });
  ActDelete = Action("", "", [this] { ActDeleteExecute(); });
  ActFreshenCD = Action("", "", [this] { ActFreshenCDExecute(); });
  ActViewArchiveFiles = Action("", "", [this] { ActViewArchiveFilesExecute(); });
  ActViewToggle = Action("", "", [this] { ActViewToggleExecute(); });
  ActExportCsv = Action("", "", [this] { ActExportCsvExecute(); });
  ActFindDuplicates = Action("", "", [this] { ActFindDuplicatesExecute(); });
  ActCheckDisc = Action("", "", [this] { ActCheckDiscExecute(); });
  ActIcon = Action("", "", [this] { ApplyViewStyle(0); });
  ActSmallIcon = Action("", "", [this] { ApplyViewStyle(1); });
  ActList = Action("", "", [this] { ApplyViewStyle(2); });
  ActReport = Action("", "", [this] { ApplyViewStyle(3); });
  ActIcon.SetChecked(true);
  m_actClose = Action("", "", [this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });

  CommandTable& commands = Commands();
  commands.Add({kBtnViewToggle, &ActViewToggle, "Change View", "Change View", {}, ButtonPicture::ChangeView});
  commands.Add({kBtnFreshenCD, &ActFreshenCD, "Refresh Archive", "Refresh Archive", {}, ButtonPicture::Refresh});
  commands.Add({kBtnAdd, &ActAdd, "Add New CD/DVD to Catalog", "Add New CD/DVD to Catalog", {VK_INSERT},
                ButtonPicture::Add});
  commands.Add({kBtnEdit, &ActEdit, "Edit Archive Mark", "Edit Archive Mark", {VK_F2}, ButtonPicture::Edit});
  commands.Add({kBtnDelete, &ActDelete, "Remove from Catalog", "Remove from Catalog", {VK_DELETE},
                ButtonPicture::Remove});
  commands.Add({kBtnExportCsv, &ActExportCsv, "Export to CSV...", "Export to CSV", {}, ButtonPicture::ExportCsv});
  commands.Add({kViewArchiveFiles, &ActViewArchiveFiles, "View Archive Files", "View Archive Files"});
  commands.Add({kFindDuplicates, &ActFindDuplicates, "Find Duplicate Files...", "Find Duplicate Files"});
  commands.Add({kCheckDisc, &ActCheckDisc, "Check CD/DVD...", "Check CD/DVD"});
  commands.Add({kViewIcon, &ActIcon, "Icon", "Icon"});
  commands.Add({kViewSmallIcon, &ActSmallIcon, "Small Icon", "Small Icon"});
  commands.Add({kViewList, &ActList, "List", "List"});
  commands.Add({kViewReport, &ActReport, "Details", "Details"});
  commands.Add({0, &m_actClose, nullptr, nullptr, {VK_ESCAPE}});

  // Refresh Archive has no visible item.
  m_popupMenu = BuildMenu({Item(ActViewArchiveFiles, MenuItem::kDefault),
                           Item(ActFindDuplicates),
                           Separator(),
                           Item(ActAdd),
                           Item(ActEdit),
                           Item(ActCheckDisc),
                           Separator(),
                           Item(ActDelete),
                           Separator(),
                           SubMenu("View", {Item(ActSmallIcon, MenuItem::kRadio), Item(ActIcon, MenuItem::kRadio),
                                            Item(ActList, MenuItem::kRadio), Item(ActReport, MenuItem::kRadio)}),
                           Separator(),
                           Item(ActExportCsv)},
                          commands);
}

void TfrmArchive::BuildToolButtons() {
  // Side by side at the right of the band, each a design unit narrower than
  // its place: at 144 DPI two places of 25 units are 75 pixels, but one
  // button of 25 rounds to 38 and would lie on the next. Refresh Archive
  // waits hidden left of them; Export to CSV is the leftmost one shown.
  const int right = DesignClient().width;
  struct Tool {
    int id;
    Action& action;
  };
  const Tool tools[] = {{kBtnFreshenCD, ActFreshenCD},
                        {kBtnExportCsv, ActExportCsv},
                        {kBtnViewToggle, ActViewToggle},
                        {kBtnAdd, ActAdd},
                        {kBtnEdit, ActEdit},
                        {kBtnDelete, ActDelete}};
  int x = right - static_cast<int>(std::size(tools)) * kButtonSize;
  for (const Tool& tool : tools) {
    BindButton(CreateToolButton(Handle(), tool.id, x, 0, kButtonSize, kAnchorTopRight), tool.action);
    x += kButtonSize;
  }
  ShowWindow(GetDlgItem(Handle(), kBtnFreshenCD), SW_HIDE);
}

void TfrmArchive::BuildList() {
  ListViewArgs args;
  args.form = this;
  args.id = kListView1;
  args.ownerData = true;
  args.view = ListViewMode::Icon;
  args.gridLines = true;
  for (const ColumnLook& look : LooksOf(kCatalogColumns)) args.columns.push_back(ListViewColumn::Of(look));
  m_listView1.Create(args);
  MakeDiscPictures();
  m_listView1.SetCellTextSource(
      [this](int row, int column) { return std::string(CellOf(m_rows.Row(static_cast<std::size_t>(row)), column)); });
  m_listView1.onColumnClick = [this](int column) { ListView1ColumnClick(column); };
  m_listView1.onSelectionChanged = [this] { KeyState(); };
  m_listView1.onFocusChanged = [this](bool) { KeyState(); };
  m_listView1.onDoubleClick = [this](int row) {
    if (row < 0) return;
    for (int selected : m_listView1.Selection()) {
      if (selected == row && ActViewArchiveFiles.Execute()) KeyState();
    }
  };
}

void TfrmArchive::MakeDiscPictures() {
  ImageListHandle large(CreateDiscPictures(32, Dpi()));
  ImageListHandle small(CreateDiscPictures(16, Dpi()));
  m_listView1.SetImageLists(large.get(), small.get());
  // The list draws with the new ones now; the old ones may go.
  m_largeImages = std::move(large);
  m_smallImages = std::move(small);
}

void TfrmArchive::OnDpiChanged() { MakeDiscPictures(); }

void TfrmArchive::OnResized() {
  Layout();
  SortList();
}

void TfrmArchive::Layout() {
  if (!m_sb1.Handle()) return;  // sizes sent while the window is being made
  m_sb1.Layout();
  // The list fills what the band and the status bar leave.
  const DesignSize client = DesignClient();
  Place(m_listView1.Handle(),
        {0, kBandHeight, client.width, client.height - kBandHeight - m_sb1.DesignHeight(Dpi())}, kAnchorAll);
  FitColumns();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TfrmArchive::FitColumns() {
  // The date keeps its width and the note the width it has; the counts take
  // up to their most (design units). Archive, Location and Last Check share
  // the rest: the last check a third of it, up to its design width, so that
  // the marks stay readable in a narrow window and a wide one shows the
  // check whole.
  constexpr int kLastCheckMost = 140;
  constexpr int kSharedLeast = 60;  // the three columns at their least
  RECT client{};
  GetClientRect(m_listView1.Handle(), &client);
  const UINT dpi = Dpi();
  const int note = ScaleFromDpi(m_listView1.ColumnWidth(kColNote), dpi);
  int counts[] = {80, 80, 95};
  int rest = ScaleFromDpi(client.right, dpi) - 120 - note - counts[0] - counts[1] - counts[2];
  for (int& width : counts) {
    if (rest >= kSharedLeast) break;
    const int give = std::min(kSharedLeast - rest, width - 20);
    width -= give;
    rest += give;
  }
  m_listView1.SetColumnWidth(kColDirectories, ScaleToDpi(counts[0], dpi));
  m_listView1.SetColumnWidth(kColFiles, ScaleToDpi(counts[1], dpi));
  m_listView1.SetColumnWidth(kColSize, ScaleToDpi(counts[2], dpi));
  // The rest in pixels, from what the other columns really took: a column
  // keeps to the limits the list gives it.
  int taken = 0;
  for (int column = 0; column < m_listView1.ColumnCount(); ++column) {
    if (column != kColArchive && column != kColLocation && column != kColLastCheck) {
      taken += m_listView1.ColumnWidth(column);
    }
  }
  const int share = std::max(0, static_cast<int>(client.right) - taken);
  m_listView1.SetColumnWidth(kColLastCheck, std::min(share / 3, ScaleToDpi(kLastCheckMost, dpi)));
  const int left = std::max(0, share - m_listView1.ColumnWidth(kColLastCheck));
  m_listView1.SetColumnWidth(kColArchive, left / 2);
  m_listView1.SetColumnWidth(kColLocation, left - left / 2);
}

// --- Loading -------------------------------------------------------------------

void TfrmArchive::TimScanTimer() {
  KillTimer(Handle(), kTimScan);
  {
    struct Listed {
      TfrmArchive& form;
      ~Listed() {
        form.m_activity = CatalogActivity::Idle;
        form.KeyState();
      }
    } listed{*this};
    ApplyStoredViewStyle();
    PumpMessages();
    ScanArchive(m_context.run.catalogFolder);
    SortList();
  }
  // An add asked for during the load runs now, where the load cannot meet
  // the new archive's file.
  if (std::exchange(m_addAfterLoad, false) && !m_stop && ActAdd.Execute()) KeyState();
}

void TfrmArchive::ScanArchive(const std::string& folder) {
  m_stop = false;
  m_loading = true;
  ShowBusyCursor(true);
  m_sb1.SetProgress(0);
  m_sb1.SetText(0, "Loading...");
  m_rows.Clear();
  m_listView1.SetRowCount(0);
  std::vector<std::string> failures;
  // One step per archive read; full stays full. A repaint of the bar costs
  // the window system milliseconds, so it shows the count now and then.
  int progress = 0;
  auto shown = std::chrono::steady_clock::now();
  const auto fileRead = [&] {
    if (progress == 100) return;
    ++progress;
    const auto now = std::chrono::steady_clock::now();
    if (now - shown < kLoadPumpInterval) return;
    shown = now;
    m_sb1.SetProgress(progress);
  };
  const auto finish = [this] {
    // Taken while the list is still empty: a style change lays out every row again.
    m_listView1.TakeTabStop(!m_rows.Empty());
    m_listView1.SetRowCount(static_cast<int>(m_rows.Size()));
    m_firstLoadQuiet.reset();
    m_sb1.ShowProgressDone();
    DrawResults();
    m_loading = false;
    PumpMessages();
    ShowBusyCursor(false);
  };
  try {
    PacedPump pump(m_pump, kLoadPumpInterval);
    LoadCatalog(
        m_context.services.files, m_context.services.text, pump, folder, [this] { return m_stop; },
        [&](CatalogRow row) {
          m_rows.Append(std::move(row));
          fileRead();
        },
        [&](const std::string& message) {
          failures.push_back(message);
          fileRead();
        });
  } catch (...) {
    finish();
    throw;
  }
  finish();
  ReportUnreadable(failures);
}

void TfrmArchive::ReportUnreadable(const std::vector<std::string>& failures) {
  if (failures.empty() || m_stop) return;
  std::string text = "These archives could not be read and are not listed:\r\n";
  for (std::size_t i = 0; i < failures.size() && i < kUnreadableListed; ++i) text += "\r\n" + failures[i];
  if (failures.size() > kUnreadableListed) {
    text += "\r\n... and " + std::to_string(failures.size() - kUnreadableListed) + " more.";
  }
  ShowAlert(Handle(), text);
}

void TfrmArchive::AddArchive(const std::string& path, bool select) {
  m_rows.Append(ReadCatalogRow(m_context.services.files, m_context.services.text, path));
  const int row = static_cast<int>(m_rows.Size()) - 1;
  m_listView1.SetRowCount(row + 1);
  if (select) m_listView1.SelectRow(row);
}

void TfrmArchive::DrawResults() {
  const bool any = !m_rows.Empty();
  m_sb1.SetText(0, CatalogSummary(m_rows.Totals(), m_rows.Size(), m_context.services.text.ThousandsSeparator()));
  m_listView1.TakeTabStop(any);
}

// --- View styles -----------------------------------------------------------------

Action& TfrmArchive::StyleAction(std::size_t style) {
  Action* const actions[] = {&ActIcon, &ActSmallIcon, &ActList, &ActReport};
  return *actions[style];
}

void TfrmArchive::ApplyViewStyle(std::size_t style) {
  for (std::size_t other = 0; other < std::size(kViewStyles); ++other) StyleAction(other).SetChecked(other == style);
  SetListViewStyle(names::kArchiveViewStyle, kViewStyles[style].text, kViewStyles[style].mode);
}

void TfrmArchive::SetListViewStyle(std::string_view valueName, std::string_view styleText, ListViewMode mode) {
  m_listView1.SetView(mode);
  // The columns size themselves to the list only in the details view: a
  // fit made in another one did not reach them.
  FitColumns();
  InvalidateRect(m_listView1.Handle(), nullptr, TRUE);
  m_context.services.settings.WriteString(names::kKeyState, valueName, styleText);
}

void TfrmArchive::ApplyStoredViewStyle() {
  std::string stored;
  try {
    stored = m_context.services.settings.ReadString(names::kKeyState, names::kArchiveViewStyle);
  } catch (const AppError&) {
    return;  // not a text: the design style stays
  }
  // Only the exact texts count; any other value leaves the design style.
  for (std::size_t style = 0; style < std::size(kViewStyles); ++style) {
    if (stored == kViewStyles[style].text && StyleAction(style).Execute()) return;
  }
}

void TfrmArchive::ActViewToggleExecute() {
  std::size_t current = 0;
  while (current < std::size(kViewStyles) && kViewStyles[current].mode != m_listView1.View()) ++current;
  StyleAction((current + 1) % std::size(kViewStyles)).Execute();
  SortList();
}

// --- Sorting -------------------------------------------------------------------

int TfrmArchive::FirstSelectedRow() const { return *m_listView1.Selection().begin(); }

void TfrmArchive::SortList() {
  const int shown = m_listView1.RowCount();
  if (m_rows.Size() < 2) return;
  // The selected rows stay selected, and the focused one focused, wherever
  // the sort puts them.
  std::vector<bool> selected(m_rows.Size(), false);
  for (int row : m_listView1.Selection()) selected.at(static_cast<std::size_t>(row)) = true;
  const int focused = m_listView1.FocusedRow();
  const std::vector<std::uint32_t> order = m_rows.Sort(g_sort.column, g_sort.flag, m_context.services.text);
  if (shown > 0) {
    m_listView1.ClearSelection();
    for (std::size_t position = 0; position < order.size(); ++position) {
      const bool focus = focused >= 0 && order[position] == static_cast<std::uint32_t>(focused);
      if (selected[order[position]]) m_listView1.SelectRow(static_cast<int>(position), focus);
    }
  }
  m_listView1.RefreshRows();
}

void TfrmArchive::ListView1ColumnClick(int column) {
  if (column < 0 || column >= kCatalogColumnCount) return;
  g_sort.ClickColumn(column);
  SortList();
}

// --- Commands ------------------------------------------------------------------

void TfrmArchive::KeyState() {
  // A tool button holds the focus only while it is clicked; it is the list's.
  const HWND focus = GetFocus();
  const bool listFocused = focus == m_listView1.Handle() || IsToolButton(focus);
  const CatalogCommandStates states =
      DecideCatalogCommands(m_activity, listFocused, listFocused ? m_listView1.SelectedCount() : 0);
  ActAdd.SetEnabled(states.add);
  ActEdit.SetEnabled(states.edit);
  // One disc at a time, by the same rule as Edit.
  ActCheckDisc.SetEnabled(states.edit);
  ActDelete.SetEnabled(states.remove);
  ActFreshenCD.SetEnabled(states.freshen);
  ActViewArchiveFiles.SetEnabled(states.viewFiles);
  // The whole list goes out, whatever is selected or focused; not while it
  // is being read or another command runs.
  ActExportCsv.SetEnabled(m_activity == CatalogActivity::Idle && !m_rows.Empty());
  ActFindDuplicates.SetEnabled(m_activity == CatalogActivity::Idle);
}

TfrmArchive::CommandRun::CommandRun(TfrmArchive& form) : m_form(form) {
  m_form.m_activity = CatalogActivity::Running;
  m_form.KeyState();
}

TfrmArchive::CommandRun::~CommandRun() {
  m_form.m_activity = CatalogActivity::Idle;
  m_form.KeyState();
}


bool TfrmArchive::PreTranslate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == m_listView1.Handle()) {
    if (m_listView1.SelectedCount() > 0 && ActViewArchiveFiles.Execute()) KeyState();
    return true;
  }
  return ToolWindow::PreTranslate(msg);
}

LRESULT TfrmArchive::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == m_listView1.Handle()) {
        PopUpMenu(m_popupMenu.get(), m_listView1.PopupMenuPoint(lParam));
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_TIMER:
      if (wParam == kTimScan) {
        TimScanTimer();
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_CLOSE:
      // Always granted; a load in progress reads no further folder.
      m_stop = true;
      EndModal(kModalCancel);
      return 0;
    default:
      return ToolWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
