#include "drives/fmAddDrive.h"

#include <utility>

#include "drives/ChosenSource.h"
#include "drives/fmAddDriveIds.h"
#include "drives/win32/DriveIcons.h"
#include "drives/win32/MountedVolumes.h"
#include "ui/FileDialog.h"

namespace discovel {
namespace {

using namespace fmAddDriveIds;

TfrmAddDrive* frmAddDrive = nullptr;

constexpr DesignSize kClient{460, 262};
constexpr char kNoDrive[] = "No drive to add.";

std::vector<ListViewColumn> DriveListColumns() {
  std::vector<ListViewColumn> columns;
  for (const ColumnLook& look : LooksOf(kDriveColumns)) columns.push_back(ListViewColumn::Of(look));
  return columns;
}

}  // namespace

std::optional<ArchiveSource> TfrmAddDrive::Execute(AppContext& context) {
  std::optional<ArchiveSource> chosen;
  RunModalOnce(frmAddDrive, [&] { return std::make_unique<TfrmAddDrive>(context, chosen); }, kModalCancel);
  return chosen;
}

TfrmAddDrive::TfrmAddDrive(AppContext& context, std::optional<ArchiveSource>& chosen)
    : m_context(context), m_chosen(chosen) {}

TfrmAddDrive::~TfrmAddDrive() {
  // The list draws with the image list until it is gone.
  DestroyDetached();
}

void TfrmAddDrive::Create() {
  CreateDialogWindow({.className = kClassName, .title = kCaption, .client = kClient});
  BuildCommands();
  BuildList();
  KeyState();
}

void TfrmAddDrive::BuildCommands() {
  CommandTable& commands = Commands();
  Action& folder = commands.Add({.id = kBtnFolder, .caption = "Folder...", .run = [this] { btnFolderClick(); }});
  Action& ok = commands.Add({.id = kBtnOk,
                             .caption = "OK",
                             .run = [this] {
                               if (const auto row = SelectedRow()) TakeRow(*row);
                             },
                             .enabled = [this] { return SelectedRow().has_value(); }});
  Action& cancel = commands.Add(
      {.id = kBtnCancel, .caption = "Cancel", .keys = {VK_ESCAPE}, .run = [this] { EndModal(kModalCancel); }});
  CreateBandButtons({{m_btnFolder, folder}, {m_btnOk, ok}, {m_btnCancel, cancel}});
}

void TfrmAddDrive::BuildList() {
  const DesignRect bounds = Body();
  m_listView1.Create({.form = this,
                      .id = kListView1,
                      .bounds = bounds,
                      .view = ListViewMode::Details,
                      .multiSelect = false,
                      .headerButtons = false,
                      .columns = DriveListColumns()});
  PlaceControl(m_listView1.Handle(), bounds, kAnchorAll);
  MakeDriveIcons();
  m_listView1.onSelectionChanged = [this] { KeyState(); };
  m_listView1.onDoubleClick = [this](int row) {
    if (row >= 0) TakeRow(row);
  };
}

void TfrmAddDrive::MakeDriveIcons() {
  ImageListHandle pictures(CreateDriveIcons(Dpi()));
  m_listView1.SetImageLists(nullptr, pictures.get());
  // The list draws with the new ones now; the old ones may go.
  m_imgDrives = std::move(pictures);
}

void TfrmAddDrive::OnDpiChanged() {
  MakeDriveIcons();
  m_listView1.FitColumns();
}

void TfrmAddDrive::FillList() {
  m_rows = DriveRowsOf(ListMountedVolumes());
  m_listView1.DeleteAllRows();
  for (std::size_t index = 0; index < m_rows.size(); ++index) {
    const int row = m_listView1.AddRow(DriveCells(m_rows[index]), static_cast<LPARAM>(index));
    m_listView1.SetRowImage(row, DriveIconOf(m_rows[index].kind));
  }
  m_listView1.SetEmptyText(kNoDrive);
  m_listView1.TakeTabStop(!m_rows.empty());
  m_listView1.FitColumns();
  if (!m_rows.empty()) SetFocus(m_listView1.Handle());
  KeyState();
}

std::optional<int> TfrmAddDrive::SelectedRow() const {
  if (m_listView1.SelectedCount() != 1) return std::nullopt;
  return *m_listView1.Selection().begin();
}

void TfrmAddDrive::TakeRow(int row) {
  const auto index = static_cast<std::size_t>(m_listView1.RowData(row));
  if (index >= m_rows.size()) return;
  m_chosen = SourceOfDrive(m_rows[index]);
  EndModal(kModalOk);
}

void TfrmAddDrive::btnFolderClick() {
  const std::optional<std::string> folder = AskForFolder(Handle(), "Choose the folder to add");
  if (!folder) return;
  // A folder the system cannot place on a volume is said, and the chooser stays.
  m_chosen = SourceOfFolder(*folder, VolumeHoldingFolder(*folder));
  EndModal(kModalOk);
}

void TfrmAddDrive::OnActivated() {
  // Filled once: coming back from the folder picker keeps the selection.
  if (m_listFilled) return;
  m_listFilled = true;
  FillList();
}

bool TfrmAddDrive::PreTranslate(MSG& msg) {
  // Enter in the list takes its selected drive; nothing without one.
  if (msg.hwnd == m_listView1.Handle() && msg.wParam == VK_RETURN &&
      (msg.message == WM_KEYDOWN || msg.message == WM_CHAR)) {
    if (msg.message == WM_KEYDOWN) {
      if (const auto row = SelectedRow()) TakeRow(*row);
    }
    return true;
  }
  return Dialog::PreTranslate(msg);
}

}  // namespace discovel
