#include "drives/fmWaitCD.h"

#include <dbt.h>

#include "app/fmMain.h"
#include "drives/CdTray.h"
#include "drives/ReadDevice.h"
#include "drives/win32/Win32DriveQueries.h"
#include "platform/Platform.h"
#include "settings/win32/SettingsStore.h"

namespace discovel {
namespace {

TfrmWaitCD* frmWaitCD = nullptr;
// The message of the current opening; set by every Execute.
std::string g_message;

constexpr int kClientWidth = 373;
constexpr int kClientHeight = 157;
constexpr UINT_PTR kTimerCDinserted = 1;

}  // namespace

int TfrmWaitCD::Execute(const std::string& message) {
  g_message = message;
  // A second wait while one is open goes no further.
  return RunModalOnce(frmWaitCD, [] { return std::make_unique<TfrmWaitCD>(); }, kModalCancel);
}

TfrmWaitCD::TfrmWaitCD() = default;
TfrmWaitCD::~TfrmWaitCD() = default;

void TfrmWaitCD::Create() {
  CreateDialogWindow({"TfrmWaitCD", "Wait for user insert CD/DVD", kClientWidth, kClientHeight});
  m_lblMsg = CreateMessageLabel(kLblMsgId, 0, kBandHeight, kClientWidth, kClientHeight - 2 * kBandHeight);
  m_btnOk = CreateButton(Handle(), IDOK, "OK", 0, 0);
  m_btnCancel = CreateButton(Handle(), IDCANCEL, "Cancel", 0, 0);
  PlaceBandButtons({m_btnOk, m_btnCancel});
  DiscWaitView& view = *this;
  m_wait = std::make_unique<DiscWait>(SystemDriveQueries(), SystemFileSystem(), ProgramSettings(), view,
                                      DefaultReadDevice(), OpenCdTray, CloseCdTray);
}

void TfrmWaitCD::OnShowing() { m_wait->Show(g_message); }

void TfrmWaitCD::OnActivated() {
  SetWindowTextA(Handle(), "Discovel");
  if (IsWindowEnabled(m_btnOk) && IsWindowVisible(m_btnOk)) SetFocus(m_btnOk);
}

void TfrmWaitCD::OnCommand(int id, int code) {
  if (id == IDOK) m_wait->Ok();
  if (id == IDCANCEL) m_wait->Cancel();
}

bool TfrmWaitCD::PreviewKey(const MSG& msg) {
  if (msg.message == WM_KEYUP && msg.wParam == VK_ESCAPE) {
    m_wait->Cancel();
    return true;
  }
  return false;
}

LRESULT TfrmWaitCD::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerCDinserted) {
    m_wait->TimerFired();
    return 0;
  }
  if (message == WM_DEVICECHANGE) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (header && header->dbch_devicetype == DBT_DEVTYP_VOLUME) {
      const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lParam);
      m_wait->DeviceChanged(static_cast<std::uint32_t>(wParam), header->dbch_devicetype, volume->dbcv_unitmask,
                            volume->dbcv_flags);
    }
    return TRUE;
  }
  return Dialog::HandleMessage(message, wParam, lParam);
}

void TfrmWaitCD::ShowMessage(std::string_view text) { SetWindowTextA(m_lblMsg, std::string(text).c_str()); }

void TfrmWaitCD::DisableOk() { EnableWindow(m_btnOk, FALSE); }

void TfrmWaitCD::DisableAddAction() {
  if (frmMain) frmMain->ActAdd.SetEnabled(false);
}

void TfrmWaitCD::HideButtons() {
  ShowWindow(m_btnOk, SW_HIDE);
  ShowWindow(m_btnCancel, SW_HIDE);
}

void TfrmWaitCD::StartTimer() { SetTimer(Handle(), kTimerCDinserted, kDiscInsertedDelayMs, nullptr); }

void TfrmWaitCD::StopTimer() { KillTimer(Handle(), kTimerCDinserted); }

void TfrmWaitCD::CloseDialog(int modalResult) { EndModal(modalResult); }

void TfrmWaitCD::PumpMessages() { ::discovel::PumpMessages(); }

}  // namespace discovel
