#include "drives/fmWaitCD.h"

#include <dbt.h>

#include "drives/fmWaitCDIds.h"
#include "drives/win32/CdTray.h"
#include "drives/win32/Win32DriveQueries.h"
#include "platform/ProgramName.h"

namespace discovel {
namespace {

TfrmWaitCD* frmWaitCD = nullptr;

constexpr DesignSize kClient{373, 157};
constexpr UINT_PTR kTimerCDinserted = 1;

}  // namespace

int TfrmWaitCD::Execute(AppContext& context, const std::string& message, HWND owner, DiscWanted wanted) {
  // A second wait while one is open goes no further.
  return RunModalOnce(
      frmWaitCD,
      [&] {
        auto form = std::make_unique<TfrmWaitCD>(context, message, wanted);
        form->SetOwner(owner);
        return form;
      },
      kModalCancel);
}

TfrmWaitCD::TfrmWaitCD(AppContext& context, std::string message, DiscWanted wanted)
    : m_context(context), m_message(std::move(message)), m_wanted(wanted) {}
TfrmWaitCD::~TfrmWaitCD() = default;

void TfrmWaitCD::Create() {
  using namespace fmWaitCDIds;
  CreateDialogWindow({.className = kClassName,
                      .title = "Wait for user insert CD/DVD",
                      .client = kClient});
  m_lblMsg = CreateMessageLabel(kLblMsg, Body());
  // Without a drive only Cancel remains.
  Action& ok = Commands().Add({.id = kBtnOk,
                               .caption = "OK",
                               .run = [this] { m_wait->Ok(); },
                               .enabled = [this] { return m_wait->State() != DiscWaitState::NoDevice; }});
  Action& cancel =
      Commands().Add({.id = kBtnCancel, .caption = "Cancel", .keys = {VK_ESCAPE}, .run = [this] { m_wait->Cancel(); }});
  CreateBandButtons({{m_btnOk, ok}, {m_btnCancel, cancel}});
  DiscWaitView& view = *this;
  m_wait = std::make_unique<DiscWait>(SystemDriveQueries(), m_context.services.files, m_context.services.settings, view,
                                      m_context.run.readDevice, OpenCdTray, CloseCdTray, m_wanted);
}

void TfrmWaitCD::OnShowing() { m_wait->Show(m_message); }

void TfrmWaitCD::OnActivated() {
  SetTextOf(Handle(), kProgramName);
  if (IsWindowEnabled(m_btnOk.Handle()) && IsWindowVisible(m_btnOk.Handle())) SetFocus(m_btnOk.Handle());
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
  // The close box is Cancel.
  if (message == WM_CLOSE) {
    m_wait->Cancel();
    return 0;
  }
  return Dialog::HandleMessage(message, wParam, lParam);
}

void TfrmWaitCD::ShowMessage(std::string_view text) { SetTextOf(m_lblMsg, text); }

// OK follows the wait's state.
void TfrmWaitCD::DisableOk() { KeyState(); }

// The main window reads the switch when it decides what it allows.
void TfrmWaitCD::DisableAddAction() { m_context.run.addDiscEnabled = false; }

void TfrmWaitCD::HideButtons() {
  ShowWindow(m_btnOk.Handle(), SW_HIDE);
  ShowWindow(m_btnCancel.Handle(), SW_HIDE);
}

void TfrmWaitCD::StartTimer() { SetTimer(Handle(), kTimerCDinserted, kDiscInsertedDelayMs, nullptr); }

void TfrmWaitCD::StopTimer() { KillTimer(Handle(), kTimerCDinserted); }

void TfrmWaitCD::CloseDialog(int modalResult) { EndModal(modalResult); }

void TfrmWaitCD::PumpMessages() { ::discovel::PumpMessages(); }

}  // namespace discovel
