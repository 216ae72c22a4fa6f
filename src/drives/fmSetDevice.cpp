#include "drives/fmSetDevice.h"

#include <utility>
#include <vector>

#include "drives/DriveRules.h"
#include "drives/ReadDeviceChoice.h"
#include "drives/fmSetDeviceIds.h"
#include "drives/win32/CdTray.h"
#include "drives/win32/DrivePictures.h"
#include "drives/win32/Win32DriveQueries.h"
#include "ui/Menus.h"

namespace discovel {
namespace {

using namespace fmSetDeviceIds;

TfrmSetDevice* frmSetDevice = nullptr;

constexpr DesignSize kClient{301, 242};
constexpr char kNoDevice[] = "No device installed.";

}  // namespace

int TfrmSetDevice::Execute(AppContext& context) { return Execute(context, SystemDriveQueries()); }

int TfrmSetDevice::Execute(AppContext& context, DriveQueries& drives) {
  return RunModalOnce(frmSetDevice, [&] { return std::make_unique<TfrmSetDevice>(context, drives); },
                      kModalCancel);
}

TfrmSetDevice::TfrmSetDevice(AppContext& context, DriveQueries& drives) : m_context(context), m_drives(drives) {}

TfrmSetDevice::~TfrmSetDevice() {
  // The list draws with the image list until it is gone.
  DestroyDetached();
}

void TfrmSetDevice::Create() {
  CreateDialogWindow({.className = kClassName,
                      .title = "Select default read device",
                      .client = kClient});
  BuildCommands();
  BuildList();
  // Unlike at start-up, the stored letter is taken without asking its type:
  // a letter that names no CD/DVD drive simply marks no item.
  m_context.run.readDevice = ReadDeviceFromSettings(m_context.services.settings, m_drives);
  KeyState();
}

void TfrmSetDevice::BuildCommands() {
  CommandTable& commands = Commands();
  // The list's menu acts on the one drive selected in the focused list.
  const auto oneDrive = [this] { return GetFocus() == m_listView1.Handle() && m_listView1.SelectedCount() == 1; };
  commands.Add({.id = kMniSetDefault,
                .caption = "Set as Default Read Device",
                .run = [this] { MarkSelectedDrive(); },
                .enabled = oneDrive});
  commands.Add({.id = kMniEject,
                .caption = "Eject CD/DVD",
                .run = [this] { MoveSelectedTray(OpenCdTray); },
                .enabled = oneDrive});
  commands.Add({.id = kMniClose,
                .caption = "Close CD/DVD",
                .run = [this] { MoveSelectedTray(CloseCdTray); },
                .enabled = oneDrive});
  Action& ok = commands.Add({.id = kBtnOk,
                             .caption = "OK",
                             .run = [this] { btnOkClick(); },
                             .enabled = [this] { return m_listView1.RowCount() > 0; }});
  Action& cancel = commands.Add(
      {.id = kBtnCancel, .caption = "Cancel", .keys = {VK_ESCAPE}, .run = [this] { EndModal(kModalCancel); }});
  CreateBandButtons({{m_btnOk, ok}, {m_btnCancel, cancel}});
  m_popupMenu =
      BuildMenu({Item(kMniSetDefault, MenuItem::kDefault), Separator(), Item(kMniEject), Item(kMniClose)}, commands);
}

void TfrmSetDevice::BuildList() {
  const DesignRect bounds = Body();
  m_listView1.Create(
      {.form = this, .id = kListView1, .bounds = bounds, .view = ListViewMode::Icon, .multiSelect = false});
  PlaceControl(m_listView1.Handle(), bounds, kAnchorAll);
  MakeDrivePictures();
  m_listView1.onSelectionChanged = [this] { KeyState(); };
  m_listView1.onFocusChanged = [this](bool) { KeyState(); };
  m_listView1.onDoubleClick = [this](int) { SetSelectedAsDefault(); };
}

void TfrmSetDevice::MakeDrivePictures() {
  ImageListHandle pictures(CreateDrivePictures(Dpi()));
  m_listView1.SetImageLists(pictures.get(), nullptr);
  // The list draws with the new ones now; the old ones may go.
  m_imgCDrom = std::move(pictures);
}

void TfrmSetDevice::OnDpiChanged() {
  MakeDrivePictures();
  // A large-icon list spaces its icons by the pictures: laid out again.
  SendMessageW(m_listView1.Handle(), LVM_ARRANGE, LVA_DEFAULT, 0);
}

void TfrmSetDevice::FillList() {
  m_listView1.DeleteAllRows();
  for (const DeviceItem& item : ListCdRomDevices(m_drives, m_context.run.readDevice)) {
    AddDrive(item.caption, item.marked);
  }
  const bool any = m_listView1.RowCount() > 0;
  // Painted by the list itself whenever it is empty, so a repaint keeps it.
  m_listView1.SetEmptyText(kNoDevice);
  const LONG style = GetWindowLongW(m_listView1.Handle(), GWL_STYLE);
  SetWindowLongW(m_listView1.Handle(), GWL_STYLE, any ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  if (any) SetFocus(m_listView1.Handle());
  KeyState();
}

void TfrmSetDevice::AddDrive(const std::string& rootPath, bool isDefault) {
  const int row = m_listView1.AddRow({rootPath});
  m_listView1.SetRowImage(row, isDefault ? kPictureDefaultDrive : kPictureDrive);
  if (isDefault) m_listView1.SelectRow(row);
}

std::optional<char> TfrmSetDevice::SelectedLetter() const {
  if (m_listView1.SelectedCount() != 1) return std::nullopt;
  const std::string caption = m_listView1.CellText(*m_listView1.Selection().begin(), 0);
  if (caption.empty()) return std::nullopt;
  return caption.front();
}

void TfrmSetDevice::MoveSelectedTray(void (*move)(char letter)) {
  if (const auto letter = SelectedLetter()) move(*letter);
}

void TfrmSetDevice::SetSelectedAsDefault() {
  if (Commands().ForCommand(kMniSetDefault)->Execute()) KeyState();
}

void TfrmSetDevice::MarkSelectedDrive() {
  const int rows = m_listView1.RowCount();
  for (int row = 0; row < rows; ++row) m_listView1.SetRowImage(row, kPictureDrive);
  for (int row : m_listView1.Selection()) m_listView1.SetRowImage(row, kPictureDefaultDrive);
}

void TfrmSetDevice::btnOkClick() {
  std::vector<DeviceItem> items;
  const int rows = m_listView1.RowCount();
  for (int row = 0; row < rows; ++row) {
    items.push_back({m_listView1.CellText(row, 0), m_listView1.RowImage(row) == kPictureDefaultDrive});
  }
  if (const auto letter = MarkedDevice(items)) {
    StoreReadDevice(m_context.services.settings, m_context.run.readDevice, *letter);
  }
  EndModal(kModalOk);
}

void TfrmSetDevice::OnActivated() {
  // Filled once: coming back from another window must not drop a marking the
  // user has not stored yet.
  if (m_listFilled) return;
  m_listFilled = true;
  FillList();
}

bool TfrmSetDevice::PreTranslate(MSG& msg) {
  // Enter marks the selected drive; it never presses a button here.
  if (msg.wParam == VK_RETURN && (msg.message == WM_KEYDOWN || msg.message == WM_CHAR)) {
    if (msg.message == WM_KEYDOWN) SetSelectedAsDefault();
    return true;
  }
  // Space marks on release; a focused button still takes its own press.
  if (msg.message == WM_KEYUP && msg.wParam == VK_SPACE) SetSelectedAsDefault();
  return Dialog::PreTranslate(msg);
}

LRESULT TfrmSetDevice::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == m_listView1.Handle()) {
    PopUpMenu(m_popupMenu.get(), m_listView1.PopupMenuPoint(lParam));
    return 0;
  }
  return Dialog::HandleMessage(message, wParam, lParam);
}

}  // namespace discovel
