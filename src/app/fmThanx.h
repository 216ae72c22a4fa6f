#pragma once
// The welcome box, shown once per user at the first start.
#include "platform/AppContext.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/Dialog.h"

namespace discovel {

class TfrmThanx final : public Dialog {
 public:
  // Shows the box when it has not been shown to this user yet.
  static void ShowOnFirstRun(AppContext& context);
  static int Execute(AppContext& context);
  void Create();

 private:
  Label m_lblThanks;
  Label m_lblGreeting;
  Button m_btnOk;
};

}  // namespace discovel
