#include "scan/fmScan.h"

#include <commctrl.h>

#include "catalog/CatalogFolder.h"
#include "drives/AudioDisc.h"
#include "drives/CdTray.h"
#include "drives/ReadDevice.h"
#include "platform/Platform.h"
#include "settings/win32/SettingsStore.h"

namespace discovel {
namespace {

TfrmScan* frmScan = nullptr;

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 230;
constexpr int kMsgHeight = 78;
constexpr int kPanelTop = kBandHeight + kMsgHeight;
// Posted on the first activation so the scan starts once the window is up.
constexpr UINT kMsgOpen = WM_APP + 1;

enum ControlId : int { kMark = 20, kLocation, kNote };

}  // namespace

int TfrmScan::Execute() {
  return RunModalOnce(frmScan, [] { return std::make_unique<TfrmScan>(); }, kModalCancel);
}

TfrmScan::TfrmScan() = default;
TfrmScan::~TfrmScan() = default;

void TfrmScan::Create() {
  CreateDialogWindow({"TfrmScan", "Scanning and enter data", kClientWidth, kClientHeight});
  m_lblMsg = CreateMessageLabel(kLblMsgId, 0, kBandHeight, kClientWidth, kMsgHeight);
  m_progress = CreateChild(Handle(), PROGRESS_CLASSA, "", PBS_SMOOTH, 20, kPanelTop + 30, kClientWidth - 40, 18, 0);
  SendMessageA(m_progress, PBM_SETRANGE32, 0, 100);
  const char* captions[] = {"Mark", "Location", "Note"};
  HWND* edits[] = {&m_edtMark, &m_edtLocation, &m_edtNote};
  for (int i = 0; i < 3; ++i) {
    const int y = kPanelTop + 6 + i * 28;
    m_editLabels[i] = CreateLabel(Handle(), 0, captions[i], 20, y + 3, 60, 16);
    *edits[i] = CreateEdit(Handle(), kMark + i, 84, y, kClientWidth - 104);
    UseEditKeyFilter(*edits[i]);
  }
  m_btnOk = CreateButton(Handle(), IDOK, "OK", 0, 0);
  m_btnCancel = CreateButton(Handle(), IDCANCEL, "Cancel", 0, 0);
  EnableWindow(m_btnOk, FALSE);
  PlaceBandButtons({m_btnOk, m_btnCancel});
  ShowEditPanel(false);
  ShowProgressPanel(false);
  AddDiscView& view = *this;
  m_session = std::make_unique<AddDiscSession>(SystemFileSystem(), ProgramSettings(), SystemTextServices(), m_pump,
                                               view, discovel::CatalogFolder(), DefaultReadDevice(), IsAudioDisc,
                                               OpenCdTray);
}

void TfrmScan::OnActivated() {
  SetWindowTextA(Handle(), "Discovel");
  if (m_session->State() == AddDiscState::NotOpened) PostMessageA(Handle(), kMsgOpen, 0, 0);
}

void TfrmScan::OnCommand(int id, int code) {
  if (id == IDOK) {
    m_session->Ok(WindowText(m_edtMark), WindowText(m_edtLocation), WindowText(m_edtNote));
  } else if (id == IDCANCEL) {
    m_session->Cancel();
  } else if (id == kMark && code == EN_CHANGE) {
    m_session->MarkChanged(WindowText(m_edtMark));
  }
}

bool TfrmScan::PreviewKey(const MSG& msg) {
  if (msg.message == WM_KEYUP && msg.wParam == VK_ESCAPE) {
    m_session->Cancel();
    return true;
  }
  return false;
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
  SetWindowTextA(m_btnCancel, std::string(caption).c_str());
}

void TfrmScan::ShowEditPanel(bool visible) {
  for (HWND control : {m_edtMark, m_edtLocation, m_edtNote, m_editLabels[0], m_editLabels[1], m_editLabels[2]}) {
    ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
  }
}

void TfrmScan::ShowProgressPanel(bool visible) {
  ShowWindow(m_progress, visible ? SW_SHOW : SW_HIDE);
  m_busy = visible;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(visible ? IDC_WAIT : IDC_ARROW)));
}

void TfrmScan::ClearFields() {
  for (HWND edit : {m_edtMark, m_edtLocation, m_edtNote}) SetWindowTextA(edit, "");
}

void TfrmScan::SetMark(std::string_view mark) {
  SetWindowTextA(m_edtMark, std::string(mark).c_str());
  FocusMark();
}

void TfrmScan::FocusMark() {
  SetFocus(m_edtMark);
  SendMessageA(m_edtMark, EM_SETSEL, 0, -1);
}

void TfrmScan::EnableOk(bool enabled) { EnableWindow(m_btnOk, enabled); }

void TfrmScan::Alert(std::string_view text) {
  MessageBoxA(Handle(), std::string(text).c_str(), "Discovel", MB_OK);
}

void TfrmScan::CloseDialog(int modalResult) { EndModal(modalResult); }

}  // namespace discovel
