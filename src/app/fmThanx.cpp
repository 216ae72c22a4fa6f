#include "app/fmThanx.h"

#include "settings/SettingsNames.h"
#include "settings/win32/SettingsStore.h"

namespace discovel {
namespace {

TfrmThanx* frmThanx = nullptr;

constexpr int kWidth = 360;
constexpr int kHeight = 200;
constexpr char kGreeting[] =
    "Discovel keeps a catalogue of your CDs and DVDs. Put a disc in the drive and choose "
    "\"Add New CD/DVD to Catalog\": its files are listed under the mark you give it. Later "
    "\"Search Files\" tells you which disc holds a file, even when the disc is on the shelf.";

}  // namespace

void TfrmThanx::ShowOnFirstRun() {
  if (!SwitchIsSet(ProgramSettings(), names::kKeySwitches, names::kMsgThanx)) Execute();
}

int TfrmThanx::Execute() {
  const int result = RunModalOnce(frmThanx, [] { return std::make_unique<TfrmThanx>(); }, kModalCancel);
  // However the box closed, it never shows again for this user.
  ProgramSettings().WriteString(names::kKeySwitches, names::kMsgThanx, "T");
  return result;
}

void TfrmThanx::Create() {
  CreateDialogWindow({"TfrmThanx", "Welcome", kWidth, kHeight});
  CreateChild(Handle(), "STATIC", "Thank you using Discovel!", SS_CENTER, 12, 38, kWidth - 24, 22, 0, MessageFont());
  CreateLabel(Handle(), 0, kGreeting, 16, 68, kWidth - 32, kHeight - 68 - 30);
  HWND ok = CreateButton(Handle(), IDOK, "OK", 0, 0);
  PlaceBandButtons({ok});
  SetFocus(ok);
}

bool TfrmThanx::PreviewKey(const MSG& msg) {
  if (msg.message == WM_KEYUP && msg.wParam == VK_ESCAPE) {
    EndModal(kModalCancel);
    return true;
  }
  return false;
}

void TfrmThanx::OnCommand(int id, int code) {
  if (id == IDOK) EndModal(kModalOk);
}

}  // namespace discovel
