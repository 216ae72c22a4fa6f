#include "browser/fmArchive.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <utility>

#include "browser/fmArchiveIds.h"
#include "browser/win32/DiscPictures.h"
#include "platform/AppError.h"
#include "platform/ScopeExit.h"
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
  CreateToolWindow({kClassName, "Catalog", &m_context.services.settings, names::kFormArchive});
  BuildCommands();
  BuildToolButtons();
  BuildList();
  // Nothing is painted in the list until the first load is done.
  m_firstLoadQuiet.emplace(m_listView1);
  SetOpeningFocus(m_listView1.Handle());
  KeyState();
  PumpMessages();
  SetTimer(Handle(), kTimScan, kScanDelayMs, nullptr);
}

CatalogCommandStates TfrmArchive::States() const {
  // A tool button holds the focus only while it is clicked; it is the list's.
  const HWND focus = GetFocus();
  const bool listFocused = focus == m_listView1.Handle() || IsToolButton(focus);
  return DecideCatalogCommands(m_activity, listFocused, listFocused ? m_listView1.SelectedCount() : 0);
}

void TfrmArchive::BuildCommands() {
  CommandTable& commands = Commands();
  commands.Add({.id = kBtnViewToggle,
                .caption = "Change View",
                .picture = ButtonPicture::ChangeView,
                .run = [this] { ActViewToggleExecute(); }});
  commands.Add({.id = kBtnFreshenCD,
                .caption = "Refresh Archive",
                .picture = ButtonPicture::Refresh,
                .run = [this] { ActFreshenCDExecute(); },
                .enabled = [this] { return States().freshen; }});
  commands.Add({.id = kBtnAdd,
                .caption = "Add New CD/DVD to Catalog",
                .keys = {VK_INSERT},
                .picture = ButtonPicture::Add,
                .run = [this] { ActAddExecute(); },
                .enabled = [this] { return States().add; }});
  commands.Add({.id = kBtnEdit,
                .caption = "Edit Archive Mark",
                .keys = {VK_F2},
                .picture = ButtonPicture::Edit,
                .run = [this] { ActEditExecute(); },
                .enabled = [this] { return States().edit; }});
  commands.Add({.id = kBtnDelete,
                .caption = "Remove from Catalog",
                .keys = {VK_DELETE},
                .picture = ButtonPicture::Remove,
                .run = [this] { ActDeleteExecute(); },
                .enabled = [this] { return States().remove; }});
  // The whole list goes out, whatever is selected or focused; not while it
  // is being read or another command runs.
  commands.Add({.id = kBtnExportCsv,
                .caption = "Export to CSV...",
                .hint = "Export to CSV",
                .picture = ButtonPicture::ExportCsv,
                .run = [this] { ActExportCsvExecute(); },
                .enabled = [this] { return Idle() && !m_rows.Empty(); }});
  commands.Add({.id = kViewArchiveFiles,
                .caption = "View Archive Files",
                .run = [this] { ActViewArchiveFilesExecute(); },
                .enabled = [this] { return States().viewFiles; }});
  commands.Add({.id = kBrowseArchive,
                .caption = "Browse Archive...",
                .hint = "Browse Archive",
                .run = [this] { ActBrowseArchiveExecute(); },
                .enabled = [this] { return States().viewFiles; }});
  commands.Add({.id = kFindDuplicates,
                .caption = "Find Duplicate Files...",
                .hint = "Find Duplicate Files",
                .run = [this] { ActFindDuplicatesExecute(); },
                .enabled = [this] { return Idle(); }});
  // One disc at a time, by the same rule as Edit.
  commands.Add({.id = kCheckDisc,
                .caption = "Check CD/DVD...",
                .hint = "Check CD/DVD",
                .run = [this] { ActCheckDiscExecute(); },
                .enabled = [this] { return States().edit; }});
  commands.Add({.id = kUpdateArchive,
                .caption = "Update Archive...",
                .run = [this] { ActUpdateArchiveExecute(); },
                .enabled = [this] { return States().edit; }});
  const char* const styleCaptions[] = {"Icon", "Small Icon", "List", "Details"};
  const UINT styleIds[] = {kViewIcon, kViewSmallIcon, kViewList, kViewReport};
  for (std::size_t style = 0; style < std::size(kViewStyles); ++style) {
    commands.Add({.id = styleIds[style],
                  .caption = styleCaptions[style],
                  .run = [this, style] { ApplyViewStyle(style); },
                  .checked = [this, style] { return m_listView1.View() == kViewStyles[style].mode; }});
  }
}

void TfrmArchive::BuildToolButtons() {
  // Side by side at the right of the band, each a design unit narrower than
  // its place: at 144 DPI two places of 25 units are 75 pixels, but one
  // button of 25 rounds to 38 and would lie on the next. Refresh Archive
  // waits hidden left of them; Export to CSV is the leftmost one shown.
  const int right = DesignClient().width;
  const int tools[] = {kBtnFreshenCD, kBtnExportCsv, kBtnViewToggle, kBtnAdd, kBtnEdit, kBtnDelete};
  int x = right - static_cast<int>(std::size(tools)) * kButtonSize;
  for (const int id : tools) {
    BindButton(CreateToolButton(Handle(), id, x, 0, kButtonSize, kAnchorTopRight));
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
  m_listView1.SetRowPictureSource(
      [this](int row) { return SourcePictureOf(m_rows.Row(static_cast<std::size_t>(row)).kind); });
  m_listView1.onColumnClick = [this](int column) { ListView1ColumnClick(column); };
  m_listView1.onSelectionChanged = [this] { KeyState(); };
  m_listView1.onFocusChanged = [this](bool) { KeyState(); };
  m_listView1.onDoubleClick = [this](int row) {
    if (row < 0) return;
    for (int selected : m_listView1.Selection()) {
      if (selected == row) RunCommand(kViewArchiveFiles);
    }
  };
  // Refresh Archive has no visible item.
  const MenuItem view = SubMenu("View", {Item(kViewSmallIcon, MenuItem::kRadio), Item(kViewIcon, MenuItem::kRadio),
                                         Item(kViewList, MenuItem::kRadio), Item(kViewReport, MenuItem::kRadio)});
  FrameList(m_listView1, kBandHeight,
            BuildMenu({Item(kViewArchiveFiles, MenuItem::kDefault), Item(kBrowseArchive), Item(kFindDuplicates),
                       Separator(),
                       Item(kBtnAdd), Item(kBtnEdit), Item(kCheckDisc),
                       Item(kUpdateArchive), Separator(), Item(kBtnDelete), Separator(),
                       view, Separator(), Item(kBtnExportCsv)},
                      Commands()));
}

void TfrmArchive::MakeDiscPictures() {
  ImageListHandle large(CreateDiscPictures(32, Dpi()));
  ImageListHandle small(CreateDiscPictures(16, Dpi()));
  m_listView1.SetImageLists(large.get(), small.get());
  // The list draws with the new ones now; the old ones may go.
  m_largeImages = std::move(large);
  m_smallImages = std::move(small);
}

void TfrmArchive::OnDpiChanged() {
  MakeDiscPictures();
  ToolWindow::OnDpiChanged();
}

// --- Loading -------------------------------------------------------------------

void TfrmArchive::TimScanTimer() {
  KillTimer(Handle(), kTimScan);
  {
    ScopeExit listed([this] {
      m_activity = CatalogActivity::Idle;
      KeyState();
    });
    ApplyStoredViewStyle();
    PumpMessages();
    ScanArchive(m_context.run.catalogFolder);
    SortList();
  }
  // An add asked for during the load runs now, where the load cannot meet
  // the new archive's file.
  if (std::exchange(m_addAfterLoad, false) && !m_stop) RunCommand(kBtnAdd);
}

void TfrmArchive::ScanArchive(const std::string& folder) {
  m_stop = false;
  m_loading = true;
  ShowBusyCursor(true);
  Status().SetProgress(0);
  Status().SetText(0, "Loading...");
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
    Status().SetProgress(progress);
  };
  {
    ScopeExit finish([this] {
      // Taken while the list is still empty: a style change lays out every row again.
      m_listView1.TakeTabStop(!m_rows.Empty());
      m_listView1.SetRowCount(static_cast<int>(m_rows.Size()));
      m_firstLoadQuiet.reset();
      Status().ShowProgressDone();
      DrawResults();
      m_loading = false;
      PumpMessages();
      ShowBusyCursor(false);
    });
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
  }
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
  Status().SetText(0, CatalogSummary(m_rows.Totals(), m_rows.Size(), m_context.services.text.ThousandsSeparator()));
  m_listView1.TakeTabStop(any);
}

// --- View styles -----------------------------------------------------------------

void TfrmArchive::ApplyViewStyle(std::size_t style) {
  SetListViewStyle(names::kArchiveViewStyle, kViewStyles[style].text, kViewStyles[style].mode);
}

void TfrmArchive::SetListViewStyle(std::string_view valueName, std::string_view styleText, ListViewMode mode) {
  m_listView1.SetView(mode);
  // The columns size themselves to the list only in the details view: a
  // fit made in another one did not reach them.
  m_listView1.FitColumns();
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
    if (stored == kViewStyles[style].text) {
      ApplyViewStyle(style);
      return;
    }
  }
}

void TfrmArchive::ActViewToggleExecute() {
  std::size_t current = 0;
  while (current < std::size(kViewStyles) && kViewStyles[current].mode != m_listView1.View()) ++current;
  ApplyViewStyle((current + 1) % std::size(kViewStyles));
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
  const ColumnSortState& sort = m_context.run.lists.catalogSort;
  const std::vector<std::uint32_t> order = m_rows.Sort(sort.column, sort.flag, m_context.services.text);
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
  m_context.run.lists.catalogSort.ClickColumn(column);
  SortList();
}

// --- Messages ------------------------------------------------------------------

bool TfrmArchive::PreTranslate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == m_listView1.Handle()) {
    if (m_listView1.SelectedCount() > 0) RunCommand(kViewArchiveFiles);
    return true;
  }
  // Ctrl+B, without Alt (AltGr is Ctrl and Alt).
  if (msg.message == WM_KEYDOWN && msg.wParam == 'B' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
    RunCommand(kBrowseArchive);
    return true;
  }
  return ToolWindow::PreTranslate(msg);
}

LRESULT TfrmArchive::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimScan) {
        TimScanTimer();
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    default:
      return ToolWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace discovel
