#include "check/fmCheck.h"

#include <commctrl.h>

#include "check/CheckProgress.h"
#include "check/fmCheckIds.h"
#include "drives/DriveRules.h"
#include "drives/fmWaitCD.h"
#include "drives/win32/CdTray.h"
#include "drives/win32/Win32DriveQueries.h"
#include "platform/ProgramName.h"
#include "platform/TextServices.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

TfrmCheck* frmCheck = nullptr;

constexpr int kClientWidth = 420;
constexpr int kClientHeight = 170;
constexpr int kMsgHeight = 48;
constexpr int kBarTop = kBandHeight + kMsgHeight + 4;
// Posted on the first activation so the check starts once the window is up.
constexpr UINT kMsgOpen = WM_APP + 1;
// The figures change after every block read; a repaint costs the window
// system more than showing them a few times a second is worth.
constexpr std::chrono::milliseconds kProgressInterval{100};

}  // namespace

CheckOutcome TfrmCheck::Execute(AppContext& context, std::optional<CheckTarget> target, HWND owner) {
  CheckOutcome outcome;
  outcome.modalResult = RunModalOnce(
      frmCheck,
      [&] {
        auto form = std::make_unique<TfrmCheck>(context, target, outcome);
        form->SetOwner(owner);
        return form;
      },
      kModalCancel);
  return outcome;
}

TfrmCheck::TfrmCheck(AppContext& context, std::optional<CheckTarget> target, CheckOutcome& outcome)
    : m_context(context), m_target(std::move(target)), m_outcome(outcome) {}

// However the window ends, what the check found goes to the caller.
TfrmCheck::~TfrmCheck() {
  if (!m_session) return;
  m_outcome.target = m_session->Target();
  m_outcome.report = m_session->Report();
}

void TfrmCheck::Create() {
  using namespace fmCheckIds;
  CreateDialogWindow({kClassName, "Checking CD/DVD", kClientWidth, kClientHeight});
  m_actCancel = Action("", "", [this] { m_session->Cancel(); });
  Commands().Add({kBtnCancel, &m_actCancel, "Cancel", nullptr, {VK_ESCAPE}});
  m_lblMsg = CreateMessageLabel(kLblMsg, 0, kBandHeight, kClientWidth, kMsgHeight);
  m_progress = CreateChild(Handle(), PROGRESS_CLASSA, "", PBS_SMOOTH, {20, kBarTop, kClientWidth - 40, 18},
                           kProgressBar, FontRole::Normal, 0, kAnchorTopWide);
  SendMessageA(m_progress, PBM_SETRANGE32, 0, 100);
  m_lblProgress.Create({.form = this,
                        .id = kLblProgress,
                        .bounds = {20, kBarTop + 24, kClientWidth - 40, 32},
                        .anchors = kAnchorTopWide,
                        .style = SS_CENTER});
  CreateBandButtons({{m_btnCancel, m_actCancel}});
  CheckView& view = *this;
  const char drive = m_context.run.readDevice;
  DiscAccess access;
  access.ready = [drive] { return DiscInDrive(SystemDriveQueries(), drive); };
  access.waitForDisc = [this](std::string_view message) {
    return TfrmWaitCD::Execute(m_context, std::string(message), Handle(), DiscWanted::kAnotherDisc);
  };
  access.openTray = [drive] {
    // The tray command blocks: the window is redrawn first.
    PumpMessages();
    OpenCdTray(drive);
  };
  m_session = std::make_unique<CheckSession>(m_context, m_pump, view, std::string{drive, ':', '\\'}, m_target,
                                             std::move(access));
}

void TfrmCheck::OnActivated() {
  SetWindowTextA(Handle(), kProgramName);
  if (!m_session->Opened()) PostMessageA(Handle(), kMsgOpen, 0, 0);
}

LRESULT TfrmCheck::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgOpen:
      m_session->Open();
      return 0;
    case WM_CLOSE:
      // The close box is Cancel: it also stops a running check.
      m_session->Cancel();
      return 0;
    default:
      return Dialog::HandleMessage(message, wParam, lParam);
  }
}

void TfrmCheck::Progress(const CheckProgress& progress) {
  const auto now = std::chrono::steady_clock::now();
  const bool last = progress.filesDone == progress.filesTotal;
  if (!last && now - m_shown < kProgressInterval) return;
  m_shown = now;
  SendMessageA(m_progress, PBM_SETPOS, static_cast<WPARAM>(progress.Percent()), 0);
  m_lblProgress.SetText(CheckProgressText(progress, m_context.services.text.ThousandsSeparator()));
}

void TfrmCheck::ShowMessage(std::string_view text) { SetWindowTextA(m_lblMsg, std::string(text).c_str()); }

void TfrmCheck::Alert(std::string_view text) { ShowAlert(Handle(), text); }

void TfrmCheck::CloseDialog(int modalResult) { EndModal(modalResult); }

}  // namespace discovel
