#include "ui/CommandTable.h"

#include <algorithm>

namespace discovel {

void CommandTable::Add(const Command& command) {
  if (command.caption) command.action->SetCaption(command.caption);
  if (command.hint) command.action->SetHint(command.hint);
  m_commands.push_back(command);
}

const Command* CommandTable::Find(const Action& action) const {
  for (const Command& command : m_commands) {
    if (command.action == &action) return &command;
  }
  return nullptr;
}

UINT CommandTable::IdOf(const Action& action) const {
  const Command* command = Find(action);
  return command ? command->id : 0;
}

Action* CommandTable::ForCommand(UINT id) const {
  if (id == 0) return nullptr;
  for (const Command& command : m_commands) {
    if (command.id == id) return command.action;
  }
  return nullptr;
}

Action* CommandTable::ForKey(UINT virtualKey) const {
  for (const Command& command : m_commands) {
    if (std::find(command.keys.begin(), command.keys.end(), virtualKey) != command.keys.end()) return command.action;
  }
  return nullptr;
}

}  // namespace discovel
