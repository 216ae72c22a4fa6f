#include "ui/Label.h"

namespace discovel {

void Label::Create(const LabelArgs& args) {
  const DWORD style = args.style | (args.clickable ? SS_NOTIFY : 0);
  ChildWindow::Create(args.form->Handle(), WC_STATICW, args.id, args.bounds, style, 0, 0, args.anchors);
  SetTextOf(Handle(), args.text);
  if (args.font != FontRole::Normal) SetControlFont(Handle(), args.font);
  TakeCommands();
}

void Label::SetText(const std::string& text) { SetTextOfIfChanged(Handle(), text); }

bool Label::OnCommandCode(WORD code) {
  // A double click on a link is one click, not a second page.
  if (code == STN_CLICKED && onClick) onClick();
  return true;
}

}  // namespace discovel
