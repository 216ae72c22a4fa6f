#include "browse/FolderLookup.h"

#include <new>

namespace discovel {
namespace {

constexpr std::size_t kFewestSlots = 1024;

}  // namespace

// FNV-1a over the parent's index and the name.
std::uint32_t FolderLookup::Hash(FolderIndex parent, std::string_view folded) {
  std::uint32_t hash = 2166136261u;
  const auto add = [&hash](unsigned char byte) { hash = (hash ^ byte) * 16777619u; };
  for (int shift = 0; shift < 32; shift += 8) add(static_cast<unsigned char>(parent >> shift));
  for (const char c : folded) add(static_cast<unsigned char>(c));
  return hash;
}

void FolderLookup::Grow(std::size_t slots) {
  std::vector<Slot> grown(slots, Slot{0, 0});
  const std::size_t mask = slots - 1;
  for (const Slot& slot : m_slots) {
    if (slot.key == 0) continue;
    std::size_t at = slot.hash & mask;
    while (grown[at].key != 0) at = (at + 1) & mask;
    grown[at] = slot;
  }
  m_slots.swap(grown);
}

FolderLookup::Found FolderLookup::FindOrAdd(FolderIndex parent, std::string_view folded, FolderIndex next) {
  if ((m_keys.size() + 1) * 2 > m_slots.size()) Grow(m_slots.empty() ? kFewestSlots : m_slots.size() * 2);
  const std::uint32_t hash = Hash(parent, folded);
  const std::size_t mask = m_slots.size() - 1;
  std::size_t at = hash & mask;
  for (; m_slots[at].key != 0; at = (at + 1) & mask) {
    if (m_slots[at].hash != hash) continue;
    const Key& key = m_keys[m_slots[at].key - 1];
    if (key.parent == parent && std::string_view(m_names).substr(key.nameBegin, key.nameLength) == folded) {
      return {key.folder, false};
    }
  }
  // Offsets of 32 bits: no more names than they reach.
  if (m_names.size() + folded.size() > UINT32_MAX) throw std::bad_alloc();
  m_keys.push_back(Key{parent, next, static_cast<std::uint32_t>(m_names.size()),
                       static_cast<std::uint32_t>(folded.size())});
  m_names += folded;
  m_slots[at] = Slot{hash, static_cast<std::uint32_t>(m_keys.size())};
  return {next, true};
}

}  // namespace discovel
