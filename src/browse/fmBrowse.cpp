#include "browse/fmBrowse.h"

#include <new>
#include <vector>

#include "browse/win32/FolderPictures.h"
#include "catalog/CatalogQueries.h"
#include "catalog/KeySummary.h"
#include "catalog/ReadableSize.h"
#include "catalog/TextUtil.h"
#include "platform/AppError.h"
#include "platform/ModalResult.h"
#include "platform/ProgramName.h"
#include "platform/ScopeExit.h"
#include "browse/fmBrowseIds.h"
#include "settings/SettingsNames.h"
#include "ui/Cursors.h"
#include "ui/Menus.h"
#include "ui/MessageBoxes.h"
#include "ui/WindowText.h"
#include "ui/WorkDoneNotice.h"

namespace discovel {
namespace {

using namespace fmBrowseIds;

TfrmBrowse* frmBrowse = nullptr;

// Design units.
constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 420;
constexpr int kTreeWidth = 200;
constexpr int kBarTop = kBandHeight + 3;
constexpr int kListTop = kBandHeight + 29;
constexpr int kNavigationWidth = 60;
// The tree's selection follows the folder shown once the list is painted.
constexpr UINT_PTR kTimFollowInTree = 1;
// The second thread has read the archive.
constexpr UINT kMsgArchiveRead = WM_APP + 1;

constexpr std::string_view kMsgReading = "Reading the archive...";
constexpr std::string_view kMsgNoMemory = "There is not enough memory to show the archive by its folders.";
constexpr std::string_view kMsgNoArchiveOfMark = "No archive of the catalogue carries the mark: ";
constexpr std::string_view kMsgFolderGone = "The archive no longer holds the folder: ";

// Name, Type, Date Modified, Size: the search results' looks, the file's
// column named as Explorer names it.
std::vector<FoundListColumn> BrowseListColumns() {
  const auto look = [](FoundColumn column) { return kFoundColumns[FoundColumnIndex(column)].look; };
  ColumnLook name = look(FoundColumn::kFile);
  name.caption = "Name";
  name.width.width = 220;
  return {{name, &PropretiesValues::file},
          {look(FoundColumn::kType), &PropretiesValues::type},
          {look(FoundColumn::kDateModified), &PropretiesValues::date},
          {look(FoundColumn::kSize), &PropretiesValues::size}};
}

// Where the archive's root lies as the address line shows it: the read
// device for a disc, the path chosen for a drive or folder.
std::string RootPathOf(const ArchiveSource& source, char readDevice) {
  if (source.kind != SourceKind::kDisc && !source.path.empty()) return IncludeTrailingBackslash(source.path);
  if (readDevice == '\0') return "\\";
  return std::string{readDevice, ':', '\\'};
}

// Reads the archive whole and builds its tree; runs on a second thread.
BrowsedArchive ReadBrowsedArchive(FileSystem& fs, const TextServices& text, const std::string& archivePath,
                                  char readDevice) {
  try {
    BrowsedArchive archive;
    archive.tree = std::make_unique<ArchiveFolders>(ArchiveFolders::Load(fs, archivePath, text));
    archive.rootPath = RootPathOf(SourceOfKeyValues(ReadArchiveKeyValues(fs, archivePath, text)), readDevice);
    return archive;
  } catch (const std::bad_alloc&) {
    throw AppError(std::string(kMsgNoMemory));
  }
}

}  // namespace

void TfrmBrowse::Execute(AppContext& context, const std::string& archivePath, const std::string& mark,
                         const FileOnDisc* show) {
  if (frmBrowse) return;
  const HWND owner = GetActiveWindow();
  SetCursor(SystemCursor(IDC_WAIT));
  // The archive is read and its tree built on a second thread while this one
  // makes and shows the window, which Windows takes a while for.
  auto readDone = std::make_shared<WorkDoneNotice>();
  std::future<BrowsedArchive> reading =
      std::async(std::launch::async, [&context, archivePath, readDone] {
        ScopeExit done([&readDone] { readDone->Done(); });
        return ReadBrowsedArchive(context.services.files, context.services.text, archivePath,
                                  context.run.readDevice);
      });
  std::optional<FileOnDisc> shown;
  if (show) shown = *show;
  try {
    RunModalOnce(frmBrowse, [&] {
      return std::make_unique<TfrmBrowse>(context, mark, std::move(reading), std::move(readDone), std::move(shown));
    });
  } catch (const AppError& error) {
    ShowAlert(owner, error.what());
  }
}

void ShowFileInItsFolder(AppContext& context, const FileOnDisc& file) {
  std::string archive = file.archivePath;
  if (archive.empty()) {
    const auto found =
        FindArchiveOfMark(context.services.files, context.services.text, context.run.catalogFolder, file.mark);
    if (!found) {
      ShowAlert(GetActiveWindow(), std::string(kMsgNoArchiveOfMark) + file.mark);
      return;
    }
    archive = found->path;
  }
  TfrmBrowse::Execute(context, archive, file.mark, &file);
}

TfrmBrowse::TfrmBrowse(AppContext& context, std::string mark, std::future<BrowsedArchive> reading,
                       std::shared_ptr<WorkDoneNotice> readDone, std::optional<FileOnDisc> show)
    : m_context(context),
      m_mark(std::move(mark)),
      m_reading(std::move(reading)),
      m_readDone(std::move(readDone)),
      m_show(std::move(show)),
      m_found(context) {}

// The controls go with the window, before their wrappers and what they report
// to; a read still running is waited for (the reading's end).
TfrmBrowse::~TfrmBrowse() {
  m_readDone->Forget();
  DestroyDetached();
}

void TfrmBrowse::Create() {
  CreateToolWindow({.className = kClassName,
                    .bandTitle = "Browse Archive",
                    .placementStore = &m_context.services.settings,
                    .formName = names::kFormBrowse,
                    .width = kWindowWidth,
                    .height = kWindowHeight,
                    .statusPanels = {kWindowWidth},
                    .progressPanel = -1});
  SetTextOf(Handle(), std::string(kProgramName) + " (" + m_mark + ")");
  AddCommands();
  const int right = DesignClient().width;
  m_btnBack.Create({.form = this, .id = kBtnBack, .text = "Back", .bounds = {4, kBarTop, kNavigationWidth, 22}});
  m_btnForward.Create({.form = this,
                       .id = kBtnForward,
                       .text = "Forward",
                       .bounds = {8 + kNavigationWidth, kBarTop, kNavigationWidth, 22}});
  m_btnUp.Create(
      {.form = this, .id = kBtnUp, .text = "Up", .bounds = {12 + 2 * kNavigationWidth, kBarTop, kNavigationWidth, 22}});
  for (Button* button : {&m_btnBack, &m_btnForward, &m_btnUp}) BindButton(button->Handle());
  const int addressLeft = 16 + 3 * kNavigationWidth;
  // Read-only, so the path can still be selected and copied.
  m_edtAddress.Create({.form = this,
                       .id = kEdtAddress,
                       .bounds = {addressLeft, kBarTop, right - addressLeft - 4, 22},
                       .anchors = kAnchorTopWide,
                       .maxLength = 0,
                       .readOnly = true});
  m_treeView1.Create({.form = this, .id = kTreeView1});
  m_found.Create({.form = this,
                  .id = kListView1,
                  .columns = BrowseListColumns(),
                  .sort = &m_context.run.lists.browseSort,
                  .listWord = "folder",
                  .fileOf = [this](std::size_t row) { return FileOf(row); },
                  .morePropreties =
                      [this](std::size_t, PropretiesValues& values) {
                        values.mark = m_mark;
                        values.directory = m_tree->FolderLine(m_history.Current());
                      },
                  .sortTable = [this](int column, bool flag,
                                      std::optional<std::size_t> keep) { return SortRows(column, flag, keep); },
                  .openRow = [this](std::size_t row) { return OpenRow(row); }});
  MakePictures();
  m_found.List().SetRowPictureSource([this](int row) {
    return m_table && m_table->Rows().IsFolder(static_cast<std::size_t>(row)) ? kFolderPicture : kFilePicture;
  });
  std::vector<MenuItem> menu = FoundFilesList::FileMenuItems();
  menu.insert(menu.end(), {Separator(), Item(kBtnUp), Separator(), FoundFilesList::ExportMenuItem()});
  FrameList(m_found.List(), kListTop, BuildMenu(menu, Commands()));
  FrameBeside(m_treeView1.Handle(), kTreeWidth);
  m_treeMenu = BuildMenu({Item(kSortBySize)}, Commands());
  m_decimal = m_context.services.text.DecimalSeparator();
  m_thousands = m_context.services.text.ThousandsSeparator();
  Status().SetText(0, std::string(kMsgReading));
  SetOpeningFocus(m_show ? m_found.Handle() : m_treeView1.Handle());
  // The panes show once they are filled: filled hidden, they lay out their
  // items and scroll bars without drawing each change, and show no empty
  // archive while it is read.
  ShowPanes(false);
  KeyState();
  m_readDone->PostTo(Handle(), kMsgArchiveRead);
}

void TfrmBrowse::ShowArchive() {
  try {
    BrowsedArchive archive = m_reading.get();
    m_tree = std::move(archive.tree);
    m_rootPath = std::move(archive.rootPath);
    BuildTree();
    OpenFolder(ArchiveFolders::kRoot, false);
    ShowPanes(true);
  } catch (const AppError& error) {
    // A damaged archive: said over the window, which has nothing to show.
    ShowAlert(Handle(), error.what());
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
    return;
  }
  if (m_show) SelectFile(*m_show);
}

void TfrmBrowse::ShowPanes(bool shown) {
  // A tree shown or focused without a selection selects its first item: the
  // folder is open already.
  m_selectingInTree = true;
  ScopeExit done([this] { m_selectingInTree = false; });
  for (const HWND pane : {m_treeView1.Handle(), m_found.Handle()}) ShowWindow(pane, shown ? SW_SHOWNA : SW_HIDE);
  if (shown) FocusShownControl();
}

void TfrmBrowse::AddCommands() {
  CommandTable& commands = Commands();
  commands.Add({.id = kBtnBack,
                .caption = "Back",
                .run = [this] { GoBack(); },
                .enabled = [this] { return m_history.CanGoBack(); }});
  commands.Add({.id = kBtnForward,
                .caption = "Forward",
                .run = [this] { GoForward(); },
                .enabled = [this] { return m_history.CanGoForward(); }});
  commands.Add({.id = kBtnUp,
                .caption = "Up",
                .run = [this] { GoUp(); },
                .enabled = [this] { return m_history.Current() != ArchiveFolders::kRoot; }});
  commands.Add({.id = kSortBySize,
                .caption = "Sort Folders by Size",
                .run = [this] { ToggleTreeOrder(); },
                .checked = [this] { return m_context.run.lists.browseTreeBySize; }});
}

void TfrmBrowse::MakePictures() {
  ImageListHandle pictures(CreateFolderPictures(Dpi()));
  m_found.List().SetImageLists(pictures.get(), pictures.get());
  // The list draws with the new ones now; the old ones may go.
  m_pictures = std::move(pictures);
}

void TfrmBrowse::OnDpiChanged() {
  MakePictures();
  ToolWindow::OnDpiChanged();
}

// --- The tree ------------------------------------------------------------------

void TfrmBrowse::BuildTree() {
  m_treeView1.onFirstOpened = [this](HTREEITEM item, TreeView::ItemParam folder) { FillChildren(item, folder); };
  m_treeView1.onSelected = [this](HTREEITEM, TreeView::ItemParam folder) {
    if (!m_selectingInTree) OpenFolder(folder, true);
  };
  const FolderIndex root = ArchiveFolders::kRoot;
  m_rootItem = m_treeView1.Add(nullptr, TreeText(root), root, m_tree->HasChildren(root));
  if (!m_rootItem) throw AppError("The folders of the archive cannot be shown.");
  FillChildren(m_rootItem, root);
  m_treeView1.Expand(m_rootItem);
}

std::string TfrmBrowse::TreeText(FolderIndex folder) const {
  const std::string name = folder == ArchiveFolders::kRoot ? m_mark : std::string(m_tree->Name(folder));
  return name + " (" + ReadableSize(m_tree->TotalsOf(folder).bytes, m_decimal, m_thousands) + ")";
}

void TfrmBrowse::FillChildren(HTREEITEM item, FolderIndex folder) {
  if (m_treeView1.FirstChild(item)) return;
  TreeView::RedrawSuspension quiet(m_treeView1);
  TreeView::DirectSends direct(m_treeView1);
  const auto add = [&](FolderIndex child) {
    m_treeView1.Add(item, TreeText(child), child, m_tree->HasChildren(child));
  };
  if (m_context.run.lists.browseTreeBySize) {
    for (const FolderIndex child : m_tree->ChildrenBySize(folder)) add(child);
  } else {
    for (const FolderIndex child : m_tree->Children(folder)) add(child);
  }
}

HTREEITEM TfrmBrowse::ItemOf(FolderIndex folder) {
  std::vector<FolderIndex> trail;
  for (FolderIndex at = folder; at != ArchiveFolders::kRoot; at = m_tree->Parent(at)) trail.push_back(at);
  TreeView::DirectSends direct(m_treeView1);
  HTREEITEM item = m_rootItem;
  for (auto next = trail.rbegin(); next != trail.rend() && item; ++next) {
    FillChildren(item, m_treeView1.ParamOf(item));
    HTREEITEM child = m_treeView1.FirstChild(item);
    while (child && m_treeView1.ParamOf(child) != *next) child = m_treeView1.NextSibling(child);
    item = child;
  }
  return item;
}

void TfrmBrowse::ToggleTreeOrder() {
  bool& bySize = m_context.run.lists.browseTreeBySize;
  bySize = !bySize;
  if (!m_tree) return;  // still being read: the tree is made in the order chosen
  // Emptying the tree moves its selection: that opens nothing.
  m_selectingInTree = true;
  ScopeExit done([this] { m_selectingInTree = false; });
  m_treeView1.RemoveChildren(m_rootItem);
  FillChildren(m_rootItem, ArchiveFolders::kRoot);
  m_treeView1.Expand(m_rootItem);
  SelectInTree(m_history.Current());
}

// --- The folder shown ------------------------------------------------------------

void TfrmBrowse::OpenFolder(FolderIndex folder, bool remembered) {
  if (remembered) m_history.Open(folder);
  const TextServices& text = m_context.services.text;
  {
    const HCURSOR old = SetCursor(SystemCursor(IDC_WAIT));
    ScopeExit restoreCursor([old] { SetCursor(old); });
    // The list shows the old rows until the new ones replace them, in one repaint.
    std::unique_ptr<FolderTable> rows;
    try {
      rows = std::make_unique<FolderTable>(FolderRows(*m_tree, folder, CellFormats::Of(text)));
      // The order the user chose last; a folder's rows come by name.
      const ColumnSortState& sort = m_context.run.lists.browseSort;
      const bool known = sort.column >= 0 && sort.column <= static_cast<int>(BrowseColumn::kSize);
      if (known && (sort.column != 0 || !sort.flag)) {
        rows->Sort(static_cast<BrowseColumn>(sort.column), sort.flag, text, std::nullopt);
      }
    } catch (const std::bad_alloc&) {
      throw AppError(std::string(kMsgNoMemory));
    }
    // The old rows go once the list has let go of them.
    const std::unique_ptr<FolderTable> shownBefore = std::move(m_table);
    m_table = std::move(rows);
    m_found.ShowRows(m_table.get());
  }
  m_edtAddress.SetText(IncludeTrailingBackslash(m_tree->DisplayPath(folder, m_rootPath)));
  Status().SetText(0, FolderStatusText(m_tree->TotalsOf(folder), text.ThousandsSeparator()));
  // The tree follows once the list is painted: opening a folder of the tree
  // lays out its items one by one, which takes Windows longer than the rows.
  SetTimer(Handle(), kTimFollowInTree, 0, nullptr);
  KeyState();
}

void TfrmBrowse::GoBack() {
  if (m_history.CanGoBack()) OpenFolder(m_history.Back(), false);
}

void TfrmBrowse::GoForward() {
  if (m_history.CanGoForward()) OpenFolder(m_history.Forward(), false);
}

void TfrmBrowse::GoUp() {
  const FolderIndex from = m_history.Current();
  if (from == ArchiveFolders::kRoot) return;
  OpenFolder(m_tree->Parent(from), true);
  // The folder come from is selected among its siblings, as Explorer does.
  m_found.SelectRow(m_table->Rows().RowOfFolder(from));
}

bool TfrmBrowse::OpenRow(std::size_t row) {
  if (!m_table || row >= m_table->RowCount() || !m_table->Rows().IsFolder(row)) return false;
  OpenFolder(m_table->Rows().FolderAt(row), true);
  return true;
}

void TfrmBrowse::SelectFile(const FileOnDisc& file) {
  const std::optional<FolderIndex> folder = m_tree->Find(file.directory);
  if (!folder) {
    ShowAlert(Handle(), std::string(kMsgFolderGone) + file.directory);
    return;
  }
  OpenFolder(*folder, true);
  const auto position = m_tree->FindFile(*folder, file.file, file.archived.size, file.archived.dosTime);
  if (position) m_found.SelectRow(m_table->Rows().RowOfFile(*position));
}

std::optional<FileOnDisc> TfrmBrowse::FileOf(std::size_t row) const {
  if (!m_table || row >= m_table->RowCount() || m_table->Rows().IsFolder(row)) return std::nullopt;
  const ArchiveFolders::File& entry = m_table->Rows().FileAt(row);
  FileOnDisc file;
  file.mark = m_mark;
  file.directory = m_tree->FolderLine(m_history.Current());
  file.file = std::string(m_tree->Name(entry));
  file.archived = {m_tree->NamesInCodePage(), entry.size, entry.dosTime};
  return file;
}

std::optional<std::size_t> TfrmBrowse::SortRows(int column, bool flag, std::optional<std::size_t> keep) {
  if (!m_table || column < 0 || column > static_cast<int>(BrowseColumn::kSize)) return std::nullopt;
  return m_table->Sort(static_cast<BrowseColumn>(column), flag, m_context.services.text, keep);
}

// --- Messages ------------------------------------------------------------------

bool TfrmBrowse::NavigationKey(const MSG& msg) {
  const bool inPanes = msg.hwnd == m_found.Handle() || msg.hwnd == m_treeView1.Handle();
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == m_found.Handle()) {
    m_found.OpenSelectedRow();
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_BACK && inPanes) {
    RunCommand(kBtnUp);
    return true;
  }
  if (msg.message != WM_SYSKEYDOWN || !(HIWORD(msg.lParam) & KF_ALTDOWN)) return false;
  switch (msg.wParam) {
    case VK_UP:
      RunCommand(kBtnUp);
      return true;
    case VK_LEFT:
      RunCommand(kBtnBack);
      return true;
    case VK_RIGHT:
      RunCommand(kBtnForward);
      return true;
    default:
      return false;
  }
}

bool TfrmBrowse::PreTranslate(MSG& msg) { return NavigationKey(msg) || ToolWindow::PreTranslate(msg); }

void TfrmBrowse::SelectInTree(FolderIndex folder) {
  HTREEITEM item = ItemOf(folder);
  if (!item || m_treeView1.Selected() == item) return;
  m_selectingInTree = true;
  ScopeExit done([this] { m_selectingInTree = false; });
  m_treeView1.Select(item);
}

LRESULT TfrmBrowse::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgArchiveRead) {
    if (!m_tree) ShowArchive();
    return 0;
  }
  // While the archive is read, the window answers but is busy.
  if (message == WM_SETCURSOR && !m_tree && LOWORD(lParam) == HTCLIENT) {
    SetCursor(SystemCursor(IDC_APPSTARTING));
    return TRUE;
  }
  if (message == WM_TIMER && wParam == kTimFollowInTree) {
    KillTimer(Handle(), kTimFollowInTree);
    SelectInTree(m_history.Current());
    return 0;
  }
  if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == m_treeView1.Handle()) {
    KeyState();
    PopUpMenu(m_treeMenu.get(), m_treeView1.PopupMenuPoint(lParam));
    return 0;
  }
  return ToolWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace discovel
