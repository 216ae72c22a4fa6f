#include "app/fmThanx.h"

#include "app/fmThanxIds.h"
#include "platform/ProgramName.h"
#include "settings/Settings.h"
#include "settings/SettingsNames.h"

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
  if (!SwitchIsSet(context.services.settings, names::kKeySwitches, names::kMsgThanx)) Execute(context);
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
  m_lblThanks.Create({this, 0, thanks.c_str(), {12, 38, kWidth - 24, 22}, kAnchorTopLeft, SS_CENTER, FontRole::Message});
  m_lblGreeting.Create({this, 0, kGreeting, {16, 68, kWidth - 32, kHeight - 68 - 30}});
  m_actOk.SetOnExecute([this] { EndModal(kModalOk); });
  m_actClose.SetOnExecute([this] { EndModal(kModalCancel); });
  Commands().Add({fmThanxIds::kBtnOk, &m_actOk, "OK"});
  Commands().Add({0, &m_actClose, "Close", nullptr, {VK_ESCAPE}});
  CreateBandButtons({{m_btnOk, m_actOk}});
  SetFocus(m_btnOk.Handle());
}

}  // namespace discovel
