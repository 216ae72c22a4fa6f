#include "ui/Button.h"

namespace discovel {

void Button::Create(const ButtonArgs& args) {
  DWORD style = BS_PUSHBUTTON | (args.tabStop ? WS_TABSTOP : 0) | (args.picture ? BS_BITMAP : 0);
  ChildWindow::Create(args.form->Handle(), WC_BUTTONW, args.id, args.bounds, style, 0, 0, args.anchors);
  SetTextOf(Handle(), args.text);
}

void CheckBox::Create(const CheckBoxArgs& args) {
  const DWORD style = WS_TABSTOP | (args.radio ? BS_AUTORADIOBUTTON : BS_AUTOCHECKBOX) |
                      (args.groupStart ? WS_GROUP : 0) | (args.textLeft ? BS_LEFTTEXT : 0) |
                      (args.pushLike ? BS_PUSHLIKE : 0);
  ChildWindow::Create(args.form->Handle(), WC_BUTTONW, args.id, args.bounds, style, 0, 0, args.anchors);
  SetTextOf(Handle(), args.text);
  SetChecked(args.checked);
  TakeCommands();
}

bool CheckBox::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::OnCommandCode(WORD code) {
  if (code != BN_CLICKED || !onClick) return false;
  onClick();
  return true;
}

}  // namespace discovel
