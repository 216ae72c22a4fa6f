#pragma once
// The one place where a form's commands become actions: the command id its
// buttons and menu items send (WM_COMMAND) and the keys it acts on when they
// are released. A form has exactly one table; nothing else dispatches commands.
#include <windows.h>

#include <utility>
#include <vector>

#include "ui/Action.h"

namespace discovel {

class CommandTable {
 public:
  // `action` answers the command `id`; its buttons and menu items carry that id.
  void Add(UINT id, Action& action);
  // `action` runs when `virtualKey` is released in the form.
  void AddKey(UINT virtualKey, Action& action);

  // The id `action` was added under; 0 when it was not added.
  UINT IdOf(const Action& action) const;
  Action* ForCommand(UINT id) const;
  Action* ForKey(UINT virtualKey) const;

 private:
  std::vector<std::pair<UINT, Action*>> m_commands;
  std::vector<std::pair<UINT, Action*>> m_keys;
};

}  // namespace discovel
