#include "ui/CommandTable.h"

namespace discovel {
namespace {

Action* Find(const std::vector<std::pair<UINT, Action*>>& table, UINT key) {
  for (const auto& [id, action] : table) {
    if (id == key) return action;
  }
  return nullptr;
}

}  // namespace

void CommandTable::Add(UINT id, Action& action) { m_commands.emplace_back(id, &action); }

void CommandTable::AddKey(UINT virtualKey, Action& action) { m_keys.emplace_back(virtualKey, &action); }

UINT CommandTable::IdOf(const Action& action) const {
  for (const auto& [id, bound] : m_commands) {
    if (bound == &action) return id;
  }
  return 0;
}

Action* CommandTable::ForCommand(UINT id) const { return Find(m_commands, id); }

Action* CommandTable::ForKey(UINT virtualKey) const { return Find(m_keys, virtualKey); }

}  // namespace discovel
