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
  CreateDialogWindow(
      {.className = fmThanxIds::kClassName, .title = "Welcome", .client = {kWidth, kHeight}});
  const std::string thanks = std::string("Thank you using ") + kProgramName + "!";
  m_lblThanks.Create({.form = this,
                      .text = thanks.c_str(),
                      .bounds = {12, 38, kWidth - 24, 22},
                      .style = SS_CENTER,
                      .font = FontRole::Message});
  m_lblGreeting.Create({.form = this, .text = kGreeting, .bounds = {16, 68, kWidth - 32, kHeight - 68 - 30}});
  Action& ok = Commands().Add({.id = fmThanxIds::kBtnOk, .caption = "OK", .run = [this] { EndModal(kModalOk); }});
  Commands().Add({.caption = "Close", .keys = {VK_ESCAPE}, .run = [this] { EndModal(kModalCancel); }});
  CreateBandButtons({{m_btnOk, ok}});
  SetFocus(m_btnOk.Handle());
}

}  // namespace discovel
