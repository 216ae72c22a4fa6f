#include "scan/fmScan.h"

#include "drives/DriveRules.h"
#include "drives/win32/AudioDisc.h"
#include "drives/win32/CdTray.h"
#include "drives/win32/Win32DriveQueries.h"
#include "scan/fmScanIds.h"
#include "ui/Controls.h"
#include "ui/Cursors.h"
#include "ui/MessageBoxes.h"

namespace discovel {
namespace {

TfrmScan* frmScan = nullptr;

constexpr DesignSize kClient{400, 230};
constexpr int kMsgHeight = 78;
constexpr int kPanelTop = kBandHeight + kMsgHeight;
constexpr ULONGLONG kWalkedShownEveryMs = 100;

}  // namespace

ScanResult TfrmScan::Execute(AppContext& context, HWND owner, std::optional<ArchiveSource> source) {
  ScanResult result;
  result.modalResult = RunModalOnce(
      frmScan, [&] { return std::make_unique<TfrmScan>(context, result, owner, source); }, kModalCancel);
  return result;
}

TfrmScan::TfrmScan(AppContext& context, ScanResult& result, HWND owner, std::optional<ArchiveSource> source)
    : DiscSessionDialog(owner), m_context(context), m_result(result), m_source(std::move(source)) {}

// However the dialog ends (closed, the program quitting, an error), an archive
// it wrote is reported.
TfrmScan::~TfrmScan() {
  if (m_session) m_result.savedArchive = m_session->SavedArchive();
}

void TfrmScan::Create() {
  using namespace fmScanIds;
  CreateDialogWindow({.className = kClassName,
                      .title = "Scanning and enter data",
                      .client = kClient});
  // OK as the session allows it: a mark to save the disc under.
  Action& ok = Commands().Add({.id = kBtnOk,
                               .caption = "OK",
                               .run = [this] { OkClick(); },
                               .enabled = [this] { return m_okAllowed; }});
  Action& cancel = Commands().Add(
      {.id = kBtnCancel, .caption = "Cancel", .keys = {VK_ESCAPE}, .run = [this] { m_session->Cancel(); }});

  CreateStatus(kMsgHeight);
  m_progress = CreateProgressBar({20, kPanelTop + 30, kClient.width - 40, 18});
  if (m_source) {
    m_walkedCounts = CreateChild(Handle(), WC_STATICW, "", SS_LEFT | SS_NOPREFIX, 20, kPanelTop + 54, kClient.width - 40,
                                 14, 0, FontRole::Normal);
    m_walkedFolder = CreateChild(Handle(), WC_STATICW, "", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 20,
                                 kPanelTop + 70, kClient.width - 40, 14, 0, FontRole::Normal);
  }
  m_fields.Create(*this, kPanelTop + 6, 28);
  for (HWND edit : m_fields.Edits()) UseEditKeyFilter(edit);
  m_fields.mark.onChange = [this] { m_session->MarkChanged(Mark()); };
  CreateBandButtons({{m_btnOk, ok}, {m_btnCancel, cancel}});
  KeyState();
  ShowEditPanel(false);
  ShowProgressPanel(false);
  AddDiscView& view = *this;
  if (m_source) {
    m_session = std::make_unique<AddDiscSession>(m_context, m_walkPump, view, *m_source);
  } else {
    m_session = std::make_unique<AddDiscSession>(m_context, m_pump, view, IsAudioDisc, OpenCdTray,
                                                 [](char drive) { return DiscInDrive(SystemDriveQueries(), drive); });
  }
}

bool TfrmScan::SessionOpened() const { return m_session->State() != AddDiscState::NotOpened; }

void TfrmScan::OpenSession() { m_session->Open(); }

void TfrmScan::CancelSession() { m_session->Cancel(); }

LRESULT TfrmScan::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETCURSOR && m_busy) {
    SetCursor(SystemCursor(IDC_WAIT));
    return TRUE;
  }
  return DiscSessionDialog::HandleMessage(message, wParam, lParam);
}

std::string TfrmScan::Mark() const { return m_fields.mark.Text(); }

void TfrmScan::SetProgress(int position) { SetPercent(position); }

void TfrmScan::ShowWalked(const WalkedSoFar& walked) {
  if (!m_walkedCounts) return;
  const ULONGLONG now = GetTickCount64();
  if (m_lastWalkedShown != 0 && now - m_lastWalkedShown < kWalkedShownEveryMs) return;
  m_lastWalkedShown = now;
  const std::string thousands = m_context.services.text.ThousandsSeparator();
  SetTextOf(m_walkedCounts, WalkedCountsText(walked, thousands));
  SetTextOf(m_walkedFolder, walked.folder);
}

// Shown at once: "Saving to Catalog..." has no pump before the save.
void TfrmScan::ShowMessage(std::string_view text) { ShowStatus(text); }

void TfrmScan::SetCancelCaption(std::string_view caption) {
  SetTextOf(m_btnCancel.Handle(), caption);
}

void TfrmScan::ShowEditPanel(bool visible) { m_fields.Show(visible); }

void TfrmScan::ShowProgressPanel(bool visible) {
  ShowWindow(m_progress, visible ? SW_SHOW : SW_HIDE);
  for (HWND line : {m_walkedCounts, m_walkedFolder}) {
    if (line) ShowWindow(line, visible ? SW_SHOW : SW_HIDE);
  }
  m_busy = visible;
  SetCursor(SystemCursor(visible ? IDC_WAIT : IDC_ARROW));
}

void TfrmScan::ClearFields() {
  // Each field says it changed, also an empty one (the mark's check runs).
  for (HWND edit : m_fields.Edits()) SetTextOf(edit, "");
}

void TfrmScan::SetMark(std::string_view mark) {
  SetTextOf(m_fields.mark.Handle(), mark);
  FocusMark();
}

void TfrmScan::FocusMark() {
  SetFocus(m_fields.mark.Handle());
  SendMessageW(m_fields.mark.Handle(), EM_SETSEL, 0, -1);
}

void TfrmScan::EnableOk(bool enabled) {
  m_okAllowed = enabled;
  KeyState();
}

void TfrmScan::Alert(std::string_view text) { ShowAlert(Handle(), text); }

bool TfrmScan::Confirm(std::string_view question) { return discovel::Confirm(Handle(), question); }

void TfrmScan::CloseDialog(int modalResult) { EndModal(modalResult); }

void TfrmScan::OfferUpdate() {
  m_updateOffered = true;
  SetTextOf(m_btnOk.Handle(), "Update");
  EnableOk(true);
}

void TfrmScan::OkClick() {
  if (!m_updateOffered) {
    m_session->Ok(Mark(), m_fields.location.Text(), m_fields.note.Text());
    return;
  }
  m_result.update = m_session->SourceArchived();
  EndModal(kModalOk);
}

}  // namespace discovel
