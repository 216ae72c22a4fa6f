#pragma once
// A command of a window. Buttons, menu items and keys only execute actions;
// a disabled action does nothing. The enabled, checked and hint states are
// mirrored onto every control bound to the action.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace discovel {

class Action {
 public:
  Action() = default;
  Action(std::string caption, std::string hint, std::function<void()> onExecute);

  // True when it ran (it was enabled).
  bool Execute();
  void SetOnExecute(std::function<void()> onExecute) { m_onExecute = std::move(onExecute); }

  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled);
  bool Checked() const { return m_checked; }
  void SetChecked(bool checked);
  const std::string& Hint() const { return m_hint; }
  void SetHint(std::string hint);
  const std::string& Caption() const { return m_caption; }
  void SetCaption(std::string caption);

  void BindButton(HWND button, Hints* hints = nullptr);
  void BindMenuItem(HMENU menu, UINT id);

 private:
  void Refresh();
  std::string m_caption;
  std::string m_hint;
  std::function<void()> m_onExecute;
  bool m_enabled = true;
  bool m_checked = false;
  struct BoundButton {
    HWND button;
    Hints* hints;
  };
  struct BoundItem {
    HMENU menu;
    UINT id;
  };
  std::vector<BoundButton> m_buttons;
  std::vector<BoundItem> m_items;
};

}  // namespace discovel
