#pragma once
// A static text; one that is clicked (a link) tells its form through onClick.
#include <functional>
#include <string>

#include "ui/ChildWindow.h"
#include "ui/Controls.h"

namespace discovel {

struct LabelArgs {
  Form* form = nullptr;
  int id = 0;
  const char* text = "";
  ControlBounds bounds;
  unsigned anchors = kAnchorTopLeft;
  DWORD style = SS_LEFT;  // alignment and wrapping (SS_...)
  FontRole font = FontRole::Normal;
  bool clickable = false;  // a link: onClick hears of clicks
};

class Label final : public ChildWindow {
 public:
  // Throws AppError when the control cannot be created.
  void Create(const LabelArgs& args);
  void SetText(const std::string& text);

  std::function<void()> onClick;

 private:
  bool OnCommandCode(WORD code) override;
};

}  // namespace discovel
