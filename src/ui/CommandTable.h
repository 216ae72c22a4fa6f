#pragma once
// The one place where a form's commands are described and become actions:
// for each, the id its buttons and menu items send (WM_COMMAND), its caption
// (menu items), its hint (tool tips), the keys it acts on when they are
// released in the form, and the picture of its tool button. A caption is
// written here once; menus, tool tips and keys are built from the table. A
// form has exactly one table; nothing else dispatches commands.
#include <windows.h>

#include <optional>
#include <utility>
#include <vector>

#include "ui/Action.h"
#include "ui/ButtonPictures.h"

namespace discovel {

struct Command {
  UINT id = 0;  // 0: a command of keys only
  Action* action = nullptr;
  const char* caption = nullptr;  // null: the action keeps its own
  const char* hint = nullptr;     // null: the action keeps its own
  std::vector<UINT> keys;         // virtual keys that run it when released
  std::optional<ButtonPicture> picture;
};

class CommandTable {
 public:
  // Adds the command; its caption and hint become its action's.
  void Add(const Command& command);

  // The id `action` was added under; 0 when it was not added.
  UINT IdOf(const Action& action) const;
  // The command of `action`; null when it was not added.
  const Command* Find(const Action& action) const;
  Action* ForCommand(UINT id) const;
  Action* ForKey(UINT virtualKey) const;

 private:
  std::vector<Command> m_commands;
};

}  // namespace discovel
