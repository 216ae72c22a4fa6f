#include "ui/CommandTable.h"

#include <algorithm>

namespace discovel {

Action& CommandTable::Add(Command command) {
  Action& action = command.action ? *command.action : m_ownActions.emplace_back();
  if (command.caption) action.SetCaption(command.caption);
  if (command.hint || command.caption) action.SetHint(command.hint ? command.hint : command.caption);
  if (command.run) action.SetOnExecute(command.run);
  m_rows.push_back({std::move(command), &action});
  return action;
}

const Command* CommandTable::Find(const Action& action) const {
  for (const Row& row : m_rows) {
    if (row.action == &action) return &row.command;
  }
  return nullptr;
}

UINT CommandTable::IdOf(const Action& action) const {
  const Command* command = Find(action);
  return command ? command->id : 0;
}

Action* CommandTable::ForCommand(UINT id) const {
  if (id == 0) return nullptr;
  for (const Row& row : m_rows) {
    if (row.command.id == id) return row.action;
  }
  return nullptr;
}

Action* CommandTable::ForKey(UINT virtualKey) const {
  for (const Row& row : m_rows) {
    const std::vector<UINT>& keys = row.command.keys;
    if (std::find(keys.begin(), keys.end(), virtualKey) != keys.end()) return row.action;
  }
  return nullptr;
}

void CommandTable::ApplyRules() {
  for (const Row& row : m_rows) {
    if (row.command.enabled) row.action->SetEnabled(row.command.enabled());
    if (row.command.checked) row.action->SetChecked(row.command.checked());
  }
}

}  // namespace discovel
