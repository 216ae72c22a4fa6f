#include "drives/fmWaitDrive.h"

#include <dbt.h>

#include "catalog/ArchiveSource.h"
#include "drives/fmWaitDriveIds.h"
#include "drives/win32/MountedVolumes.h"
#include "platform/ModalResult.h"
#include "platform/ProgramName.h"

namespace discovel {
namespace {

TfrmWaitDrive* frmWaitDrive = nullptr;

// The disc wait's size.
constexpr DesignSize kClient{373, 157};

}  // namespace

int TfrmWaitDrive::Execute(const ArchiveSource& source, const std::string& mark, HWND owner, std::string& pathNow) {
  return RunModalOnce(
      frmWaitDrive,
      [&] {
        auto form = std::make_unique<TfrmWaitDrive>(source, mark, pathNow);
        form->SetOwner(owner);
        return form;
      },
      kModalCancel);
}

std::optional<std::string> TfrmWaitDrive::PathNow(const ArchiveSource& source, const std::string& mark, HWND owner) {
  // The drive's former letter first: reading every drive may wait long on a
  // network drive that is away.
  if (source.path.size() >= 2 && source.path[1] == ':') {
    const std::string former = source.path.substr(0, 2) + "\\";
    if (std::optional<std::string> now = SourcePathNow(source, {VolumeAt(former)})) return now;
  }
  if (std::optional<std::string> now = SourcePathNow(source, ListMountedVolumes())) return now;
  std::string pathNow;
  if (Execute(source, mark, owner, pathNow) != kModalOk) return std::nullopt;
  return pathNow;
}

TfrmWaitDrive::TfrmWaitDrive(ArchiveSource source, std::string mark, std::string& pathNow)
    : m_source(std::move(source)), m_mark(std::move(mark)), m_pathNow(pathNow) {}

void TfrmWaitDrive::Create() {
  using namespace fmWaitDriveIds;
  CreateDialogWindow({.className = kClassName, .title = "Wait for user connect the drive", .client = kClient});
  m_lblMsg = CreateMessageLabel(kLblMsg, Body());
  Action& ok = Commands().Add({.id = kBtnOk, .caption = "OK", .run = [this] { LookAgain(); }});
  Action& cancel = Commands().Add(
      {.id = kBtnCancel, .caption = "Cancel", .keys = {VK_ESCAPE}, .run = [this] { EndModal(kModalCancel); }});
  CreateBandButtons({{m_btnOk, ok}, {m_btnCancel, cancel}});
}

void TfrmWaitDrive::OnShowing() { SetTextOf(m_lblMsg, std::string(kMsgConnectDriveMarked) + m_mark); }

void TfrmWaitDrive::OnActivated() {
  SetTextOf(Handle(), kProgramName);
  SetFocus(m_btnOk.Handle());
}

void TfrmWaitDrive::LookAgain() {
  if (const std::optional<std::string> now = SourcePathNow(m_source, ListMountedVolumes())) {
    m_pathNow = *now;
    EndModal(kModalOk);
    return;
  }
  SetTextOf(m_lblMsg, std::string(kMsgNotTheDrive) + m_mark);
}

LRESULT TfrmWaitDrive::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEVICECHANGE) {
    // A volume arrived: it may be the one asked for, under any letter.
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (wParam == DBT_DEVICEARRIVAL && header && header->dbch_devicetype == DBT_DEVTYP_VOLUME) LookAgain();
    return TRUE;
  }
  // The close box is Cancel.
  if (message == WM_CLOSE) {
    EndModal(kModalCancel);
    return 0;
  }
  return Dialog::HandleMessage(message, wParam, lParam);
}

}  // namespace discovel
