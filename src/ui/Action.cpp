#include "ui/Action.h"

#include "platform/win32/WideText.h"

namespace discovel {

Action::Action(std::string caption, std::string hint, std::function<void()> onExecute)
    : m_caption(std::move(caption)), m_hint(std::move(hint)), m_onExecute(std::move(onExecute)) {}

bool Action::Execute() {
  if (!m_enabled) return false;
  if (m_onExecute) m_onExecute();
  return true;
}

void Action::SetEnabled(bool enabled) {
  if (m_enabled == enabled) return;
  m_enabled = enabled;
  Refresh();
}

void Action::SetChecked(bool checked) {
  if (m_checked == checked) return;
  m_checked = checked;
  Refresh();
}

void Action::SetHint(std::string hint) {
  m_hint = std::move(hint);
  for (const BoundButton& bound : m_buttons) {
    if (bound.hints) bound.hints->Set(bound.button, m_hint);
  }
}

void Action::SetCaption(std::string caption) {
  m_caption = std::move(caption);
  const std::wstring wide = Wide(m_caption);
  for (const BoundItem& item : m_items) {
    ModifyMenuW(item.menu, item.id, MF_BYCOMMAND | MF_STRING, item.id, wide.c_str());
  }
  Refresh();
}

void Action::BindButton(HWND button, Hints* hints) {
  m_buttons.push_back({button, hints});
  if (hints) hints->Set(button, m_hint);
  Refresh();
}

void Action::BindMenuItem(HMENU menu, UINT id) {
  m_items.push_back({menu, id});
  Refresh();
}

void Action::Refresh() {
  for (const BoundButton& bound : m_buttons) {
    EnableWindow(bound.button, m_enabled);
    // A toggle's button shows whether the action is checked.
    const LONG type = GetWindowLongW(bound.button, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
      SendMessageW(bound.button, BM_SETCHECK, m_checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
  for (const BoundItem& item : m_items) {
    EnableMenuItem(item.menu, item.id, MF_BYCOMMAND | (m_enabled ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(item.menu, item.id, MF_BYCOMMAND | (m_checked ? MF_CHECKED : MF_UNCHECKED));
  }
}

}  // namespace discovel
