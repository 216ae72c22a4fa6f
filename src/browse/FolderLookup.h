#pragma once
// The folders of a tree found by their parent and folded name: one table of
// slots and one text of the names, with no string or node kept a folder.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace discovel {

class FolderLookup {
 public:
  using FolderIndex = std::uint32_t;

  struct Found {
    FolderIndex folder;
    bool added;
  };

  // The folder named `folded` under `parent`; one not yet known is recorded
  // as `next`.
  Found FindOrAdd(FolderIndex parent, std::string_view folded, FolderIndex next);

 private:
  struct Key {
    FolderIndex parent;
    FolderIndex folder;
    std::uint32_t nameBegin;  // into m_names
    std::uint32_t nameLength;
  };
  struct Slot {
    std::uint32_t hash;
    std::uint32_t key;  // 1 + the index into m_keys; 0: empty
  };

  static std::uint32_t Hash(FolderIndex parent, std::string_view folded);
  void Grow(std::size_t slots);

  std::vector<Slot> m_slots;  // a power of two of them, at most half used
  std::vector<Key> m_keys;
  std::string m_names;
};

}  // namespace discovel
