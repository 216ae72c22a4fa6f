#include "app/fmThanx.h"

#include "app/fmThanxIds.h"
#include "platform/ProgramName.h"
#include "settings/ForgivingSettings.h"
#include "settings/SettingsNames.h"
#include "ui/MessageBoxes.h"

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

void TfrmThanx::ShowOnFirstRun(AppContext& context) {
  // Read at start-up: a value of the wrong type is reported and counts as absent.
  ForgivingSettings settings(context.services.settings, [](const std::string& message) { ShowErrorBox(message); });
  if (!SwitchIsSet(settings, names::kKeySwitches, names::kMsgThanx)) Execute(context);
}

int TfrmThanx::Execute(AppContext& context) {
  const int result = RunModalOnce(frmThanx, [] { return std::make_unique<TfrmThanx>(); }, kModalCancel);
  // However the box closed, it never shows again for this user.
  context.services.settings.WriteString(names::kKeySwitches, names::kMsgThanx, "T");
  return result;
}

void TfrmThanx::Create() {
  CreateDialogWindow({fmThanxIds::kClassName, "Welcome", kWidth, kHeight});
  const std::string thanks = std::string("Thank you using ") + kProgramName + "!";
  CreateChild(Handle(), "STATIC", thanks.c_str(), SS_CENTER, 12, 38, kWidth - 24, 22, 0, FontRole::Message);
  CreateLabel(Handle(), 0, kGreeting, 16, 68, kWidth - 32, kHeight - 68 - 30);
  HWND ok = CreateButton(Handle(), fmThanxIds::kBtnOk, "OK", 0, 0);
  PlaceBandButtons({ok});
  SetFocus(ok);
  m_actOk = Action("OK", "", [this] { EndModal(kModalOk); });
  m_actClose = Action("Close", "", [this] { EndModal(kModalCancel); });
  Commands().Add(fmThanxIds::kBtnOk, m_actOk);
  Commands().AddKey(VK_ESCAPE, m_actClose);
}

}  // namespace discovel
