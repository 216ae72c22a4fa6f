#include "scan/fmScan.h"

#include <commctrl.h>

#include "drives/DriveRules.h"
#include "drives/win32/AudioDisc.h"
#include "drives/win32/CdTray.h"
#include "drives/win32/Win32DriveQueries.h"
#include "platform/ProgramName.h"
#include "scan/fmScanIds.h"
#include "ui/MessageBoxes.h"

namespace discovel {
namespace {

TfrmScan* frmScan = nullptr;

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 230;
constexpr int kMsgHeight = 78;
constexpr int kPanelTop = kBandHeight + kMsgHeight;
// Posted on the first activation so the scan starts once the window is up.
constexpr UINT kMsgOpen = WM_APP + 1;

}  // namespace

ScanResult TfrmScan::Execute(AppContext& context, HWND owner) {
  ScanResult result;
  result.modalResult = RunModalOnce(
      frmScan,
      [&] {
        auto form = std::make_unique<TfrmScan>(context, result.savedArchive);
        form->SetOwner(owner);
        return form;
      },
      kModalCancel);
  return result;
}

TfrmScan::TfrmScan(AppContext& context, std::string& savedArchive)
    : m_context(context), m_savedArchive(savedArchive) {}

// However the dialog ends (closed, the program quitting, an error), an archive
// it wrote is reported.
TfrmScan::~TfrmScan() {
  if (m_session) m_savedArchive = m_session->SavedArchive();
}

void TfrmScan::Create() {
  using namespace fmScanIds;
  CreateDialogWindow({kClassName, "Scanning and enter data", kClientWidth, kClientHeight});
  m_actOk = Action("", "", [this] { m_session->Ok(m_edtMark.Text(), m_edtLocation.Text(), m_edtNote.Text()); });
  m_actCancel = Action("", "", [this] { m_session->Cancel(); });
  Commands().Add({kBtnOk, &m_actOk, "OK"});
  Commands().Add({kBtnCancel, &m_actCancel, "Cancel", nullptr, {VK_ESCAPE}});

  m_lblMsg = CreateMessageLabel(kLblMsg, 0, kBandHeight, kClientWidth, kMsgHeight);
  m_progress = CreateChild(Handle(), PROGRESS_CLASSA, "", PBS_SMOOTH, {20, kPanelTop + 30, kClientWidth - 40, 18}, 0,
                           FontRole::Normal, 0, kAnchorTopWide);
  SendMessageA(m_progress, PBM_SETRANGE32, 0, 100);
  const char* captions[] = {"Mark", "Location", "Note"};
  EditBox* edits[] = {&m_edtMark, &m_edtLocation, &m_edtNote};
  for (int i = 0; i < 3; ++i) {
    const int y = kPanelTop + 6 + i * 28;
    m_editLabels[i].Create({.form = this, .text = captions[i], .bounds = {20, y + 3, 60, 16}});
    edits[i]->Create(
        {.form = this, .id = kEdtMark + i, .bounds = {84, y, kClientWidth - 104, 21}, .anchors = kAnchorTopWide});
    UseEditKeyFilter(edits[i]->Handle());
  }
  m_edtMark.onChange = [this] { m_session->MarkChanged(m_edtMark.Text()); };
  CreateBandButtons({{m_btnOk, m_actOk}, {m_btnCancel, m_actCancel}});
  m_actOk.SetEnabled(false);
  ShowEditPanel(false);
  ShowProgressPanel(false);
  AddDiscView& view = *this;
  m_session = std::make_unique<AddDiscSession>(m_context, m_pump, view, IsAudioDisc, OpenCdTray,
                                               [](char drive) { return DiscInDrive(SystemDriveQueries(), drive); });
}

void TfrmScan::OnActivated() {
  SetWindowTextA(Handle(), kProgramName);
  if (m_session->State() == AddDiscState::NotOpened) PostMessageA(Handle(), kMsgOpen, 0, 0);
}

LRESULT TfrmScan::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgOpen:
      m_session->Open();
      return 0;
    case WM_CLOSE:
      // The close box is Cancel: it also stops a running scan.
      m_session->Cancel();
      return 0;
    case WM_SETCURSOR:
      if (m_busy) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return Dialog::HandleMessage(message, wParam, lParam);
}

void TfrmScan::SetProgress(int position) { SendMessageA(m_progress, PBM_SETPOS, position, 0); }

void TfrmScan::ShowMessage(std::string_view text) {
  SetWindowTextA(m_lblMsg, std::string(text).c_str());
  // Shown at once: "Saving to Catalog..." has no pump before the save.
  UpdateWindow(m_lblMsg);
}

void TfrmScan::SetCancelCaption(std::string_view caption) {
  SetWindowTextA(m_btnCancel.Handle(), std::string(caption).c_str());
}

void TfrmScan::ShowEditPanel(bool visible) {
  for (HWND control : {m_edtMark.Handle(), m_edtLocation.Handle(), m_edtNote.Handle(), m_editLabels[0].Handle(),
                       m_editLabels[1].Handle(), m_editLabels[2].Handle()}) {
    ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
  }
}

void TfrmScan::ShowProgressPanel(bool visible) {
  ShowWindow(m_progress, visible ? SW_SHOW : SW_HIDE);
  m_busy = visible;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(visible ? IDC_WAIT : IDC_ARROW)));
}

void TfrmScan::ClearFields() {
  // Each field says it changed, also an empty one (the mark's check runs).
  for (HWND edit : {m_edtMark.Handle(), m_edtLocation.Handle(), m_edtNote.Handle()}) SetWindowTextA(edit, "");
}

void TfrmScan::SetMark(std::string_view mark) {
  SetWindowTextA(m_edtMark.Handle(), std::string(mark).c_str());
  FocusMark();
}

void TfrmScan::FocusMark() {
  SetFocus(m_edtMark.Handle());
  SendMessageA(m_edtMark.Handle(), EM_SETSEL, 0, -1);
}

void TfrmScan::EnableOk(bool enabled) { m_actOk.SetEnabled(enabled); }

void TfrmScan::Alert(std::string_view text) { ShowAlert(Handle(), text); }

void TfrmScan::CloseDialog(int modalResult) { EndModal(modalResult); }

}  // namespace discovel
