#pragma once
// The one place where a form's commands are written: each row is a command's
// id (what its buttons and menu items send), caption (menu items), hint
// (tool tips), the keys it acts on when they are released in the form, the
// picture of its tool button, what it does and when it is allowed. Menus,
// tool buttons and keys are built from the rows; the form's KeyState
// evaluates the rules. A form has exactly one table; nothing else
// dispatches commands.
#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "ui/Action.h"
#include "ui/ButtonPictures.h"

namespace discovel {

struct Command {
  UINT id = 0;  // 0: a command of keys only
  // The action to run it through where a test reaches it (a form's member);
  // null: the table keeps one of its own.
  Action* action = nullptr;
  const char* caption = nullptr;  // null: the action keeps its own
  const char* hint = nullptr;     // null: the caption
  std::vector<UINT> keys;         // virtual keys that run it when released
  std::optional<ButtonPicture> picture;
  std::function<void()> run;  // none: the action's own
  // When it may run, from the form's state; none: it keeps what was set.
  std::function<bool()> enabled;
  // Whether its items and toggle buttons show it checked; none: it keeps
  // what was set on its action.
  std::function<bool()> checked;
};

class CommandTable {
 public:
  // Adds the command and returns its action, which buttons and menus bind.
  Action& Add(Command command);

  // The id `action` was added under; 0 when it was not added.
  UINT IdOf(const Action& action) const;
  // The command of `action`; null when it was not added.
  const Command* Find(const Action& action) const;
  Action* ForCommand(UINT id) const;
  Action* ForKey(UINT virtualKey) const;

  // Enables and checks every command by its rules.
  void ApplyRules();

 private:
  struct Row {
    Command command;
    Action* action;
  };
  std::vector<Row> m_rows;
  std::deque<Action> m_ownActions;  // a deque: an action stays where it is
};

}  // namespace discovel
