#pragma once
// The welcome box, shown once per user at the first start.
#include "ui/Dialog.h"

namespace discovel {

class TfrmThanx final : public Dialog {
 public:
  // Shows the box when it has not been shown to this user yet.
  static void ShowOnFirstRun();
  static int Execute();
  void Create();

 protected:
  bool PreviewKey(const MSG& msg) override;
  void OnCommand(int id, int code) override;
};

}  // namespace discovel
