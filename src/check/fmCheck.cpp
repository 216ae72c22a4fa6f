#include "check/fmCheck.h"

#include "check/CheckProgress.h"
#include "check/fmCheckIds.h"
#include "drives/DriveRules.h"
#include "drives/fmWaitCD.h"
#include "drives/win32/CdTray.h"
#include "drives/win32/Win32DriveQueries.h"
#include "platform/TextServices.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

TfrmCheck* frmCheck = nullptr;

constexpr DesignSize kClient{420, 170};
constexpr int kMsgHeight = 48;
constexpr int kBarTop = kBandHeight + kMsgHeight + 4;
// The figures change after every block read; a repaint costs the window
// system more than showing them a few times a second is worth.
constexpr std::chrono::milliseconds kProgressInterval{100};

}  // namespace

CheckOutcome TfrmCheck::Execute(AppContext& context, std::optional<CheckTarget> target, HWND owner,
                                std::optional<std::string> sourceRoot) {
  CheckOutcome outcome;
  outcome.modalResult = RunModalOnce(
      frmCheck, [&] { return std::make_unique<TfrmCheck>(context, target, outcome, owner, sourceRoot); },
      kModalCancel);
  return outcome;
}

TfrmCheck::TfrmCheck(AppContext& context, std::optional<CheckTarget> target, CheckOutcome& outcome, HWND owner,
                     std::optional<std::string> sourceRoot)
    : DiscSessionDialog(owner),
      m_context(context),
      m_target(std::move(target)),
      m_sourceRoot(std::move(sourceRoot)),
      m_outcome(outcome) {}

// However the window ends, what the check found goes to the caller.
TfrmCheck::~TfrmCheck() {
  if (!m_session) return;
  m_outcome.target = m_session->Target();
  m_outcome.report = m_session->Report();
}

void TfrmCheck::Create() {
  using namespace fmCheckIds;
  CreateDialogWindow({.className = kClassName,
                      .title = "Checking CD/DVD",
                      .client = kClient});
  Action& cancel = Commands().Add(
      {.id = kBtnCancel, .caption = "Cancel", .keys = {VK_ESCAPE}, .run = [this] { m_session->Cancel(); }});
  CreateStatus(kMsgHeight);
  CreateProgressBar({20, kBarTop, kClient.width - 40, 18}, kProgressBar);
  m_lblProgress.Create({.form = this,
                        .id = kLblProgress,
                        .bounds = {20, kBarTop + 24, kClient.width - 40, 32},
                        .anchors = kAnchorTopWide,
                        .style = SS_CENTER});
  CreateBandButtons({{m_btnCancel, cancel}});
  CheckView& view = *this;
  const char drive = m_context.run.readDevice;
  DiscAccess access{
      .ready = [drive] { return DiscInDrive(SystemDriveQueries(), drive); },
      .waitForDisc =
          [this](std::string_view message) {
            return TfrmWaitCD::Execute(m_context, std::string(message), Handle(), DiscWanted::kAnotherDisc);
          },
      .openTray =
          [drive] {
            // The tray command blocks: the window is redrawn first.
            PumpMessages();
            OpenCdTray(drive);
          },
  };
  if (m_sourceRoot) {
    // A drive has no tray and is there already.
    access = {.ready = [] { return true; }, .rootIsTheSource = true};
  }
  m_session = std::make_unique<CheckSession>(m_context, m_pump, view,
                                             m_sourceRoot.value_or(std::string{drive, ':', '\\'}), m_target,
                                             std::move(access));
}

bool TfrmCheck::SessionOpened() const { return m_session->Opened(); }

void TfrmCheck::OpenSession() { m_session->Open(); }

void TfrmCheck::CancelSession() { m_session->Cancel(); }

void TfrmCheck::Progress(const CheckProgress& progress) {
  const auto now = std::chrono::steady_clock::now();
  const bool last = progress.filesDone == progress.filesTotal;
  if (!last && now - m_shown < kProgressInterval) return;
  m_shown = now;
  SetPercent(progress.Percent());
  m_lblProgress.SetText(CheckProgressText(progress, m_context.services.text.ThousandsSeparator()));
}

void TfrmCheck::ShowMessage(std::string_view text) { ShowStatus(text); }

void TfrmCheck::Alert(std::string_view text) { ShowAlert(Handle(), text); }

void TfrmCheck::CloseDialog(int modalResult) { EndModal(modalResult); }

}  // namespace discovel
