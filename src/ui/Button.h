#pragma once
// Push buttons and check boxes. A push button runs its action through the
// form's command table (Form::BindButton); a check box tells its form of each
// click through onClick.
#include <functional>

#include "ui/ChildWindow.h"

namespace discovel {

struct ButtonArgs {
  Form* form = nullptr;
  int id = 0;
  const char* text = "";
  ControlBounds bounds{0, 0, 59, 22};
  unsigned anchors = kAnchorTopLeft;
  bool tabStop = true;
  bool picture = false;  // shows a picture (BS_BITMAP) instead of its text
};

class Button final : public ChildWindow {
 public:
  // Throws AppError when the control cannot be created.
  void Create(const ButtonArgs& args);
};

struct CheckBoxArgs {
  Form* form = nullptr;
  int id = 0;
  const char* text = "";
  ControlBounds bounds;
  unsigned anchors = kAnchorTopLeft;
  bool checked = false;
  bool textLeft = false;  // the box right of its text
  bool pushLike = false;  // looks like a button that stays down while checked
  // A radio button: checking it clears the others of its group, which runs
  // from the one marked groupStart to the next so marked.
  bool radio = false;
  bool groupStart = false;
};

// A check box, or a radio button.
class CheckBox final : public ChildWindow {
 public:
  void Create(const CheckBoxArgs& args);
  bool Checked() const;
  void SetChecked(bool checked);
  // The user clicked it (its check has changed already).
  std::function<void()> onClick;

 private:
  bool OnCommandCode(WORD code) override;
};

}  // namespace discovel
