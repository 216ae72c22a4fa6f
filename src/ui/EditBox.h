#pragma once
// A one-line edit box; its form hears of changes through onChange and of
// the focus leaving it through onExit.
#include <functional>
#include <string>

#include "ui/ChildWindow.h"

namespace discovel {

struct EditBoxArgs {
  Form* form = nullptr;
  int id = 0;
  ControlBounds bounds{0, 0, 100, 21};
  unsigned anchors = kAnchorTopLeft;
  int maxLength = 255;
  bool readOnly = false;
  bool numbers = false;  // digits only (ES_NUMBER)
};

class EditBox final : public ChildWindow {
 public:
  // Throws AppError when the control cannot be created.
  void Create(const EditBoxArgs& args);
  std::string Text() const;
  void SetText(const std::string& text);

  std::function<void()> onChange;
  std::function<void()> onExit;

 private:
  bool OnCommandCode(WORD code) override;
};

}  // namespace discovel
