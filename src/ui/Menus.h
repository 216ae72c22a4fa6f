#pragma once
// Menus described as tables: menu bars, pop-up menus and the tray menu are all
// built from the same description. An item runs its action through the form's
// command table and mirrors the action's enabled and checked states.
#include <windows.h>

#include <utility>
#include <vector>

#include "platform/win32/Handles.h"
#include "ui/CommandTable.h"

namespace discovel {

class Action;

struct MenuItem {
  enum Flags : unsigned {
    kNone = 0,
    kDefault = 1,  // shown bold; what a double click would do
    kRadio = 2,    // a checked radio item shows a bullet instead of a tick
    kChecked = 4,  // for an item without an action; an action's item follows the action
  };
  // A sub-menu's caption; "-": a separator; null: the caption of the action's
  // command.
  const char* caption = "-";
  // The command of the item, by its action or by its id; neither for a sub-menu.
  Action* action = nullptr;
  unsigned flags = kNone;
  std::vector<MenuItem> items;  // a sub-menu when not empty
  UINT command = 0;
};

inline MenuItem Separator() { return MenuItem{}; }
// The item of a command: its caption is the command's.
inline MenuItem Item(Action& action, unsigned flags = MenuItem::kNone) { return MenuItem{nullptr, &action, flags}; }
inline MenuItem Item(UINT command, unsigned flags = MenuItem::kNone) {
  return MenuItem{nullptr, nullptr, flags, {}, command};
}
inline MenuItem SubMenu(const char* caption, std::vector<MenuItem> items, unsigned flags = MenuItem::kNone) {
  return MenuItem{caption, nullptr, flags, std::move(items)};
}

// Builds the menu of `items` (a menu bar when `bar`, else a pop-up menu). Every
// action and id must be in `commands`; the action is bound to its item, which
// carries its id. Throws AppError for a command missing from the table.
MenuHandle BuildMenu(const std::vector<MenuItem>& items, const CommandTable& commands, bool bar = false);

}  // namespace discovel
