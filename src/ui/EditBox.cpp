#include "ui/EditBox.h"

#include "ui/Controls.h"

namespace discovel {

void EditBox::Create(const EditBoxArgs& args) {
  const DWORD style = WS_TABSTOP | ES_AUTOHSCROLL | (args.readOnly ? ES_READONLY : 0) | (args.numbers ? ES_NUMBER : 0);
  ChildWindow::Create(args.form->Handle(), WC_EDITW, args.id, args.bounds, style, WS_EX_CLIENTEDGE, 0, args.anchors);
  SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(args.maxLength), 0);
  TakeCommands();
}

std::string EditBox::Text() const { return TextOf(Handle()); }

void EditBox::SetText(const std::string& text) { SetTextOfIfChanged(Handle(), text); }

bool EditBox::OnCommandCode(WORD code) {
  if (code == EN_CHANGE && onChange) onChange();
  if (code == EN_KILLFOCUS && onExit) onExit();
  // An edit's notifications are never commands.
  return true;
}

}  // namespace discovel
