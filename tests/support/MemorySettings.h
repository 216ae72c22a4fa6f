#pragma once
// An in-memory settings store for core tests. Names compare without regard to
// ASCII letter case and to the key path's outer backslashes, as the registry's do.
// It counts writes and deletes per value, so a test can tell "written" from
// "not written" even when the text did not change.
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/AppError.h"
#include "settings/Settings.h"

namespace discovel::test {

class MemorySettings final : public Settings {
 public:
  std::string ReadString(std::string_view keyPath, std::string_view name, bool localMachine = false) override {
    const auto it = m_values.find(Key(keyPath, name, localMachine));
    return it == m_values.end() || !it->second.present ? std::string() : it->second.text;
  }

  void WriteString(std::string_view keyPath, std::string_view name, std::string_view value,
                   bool localMachine = false) override {
    if (m_refuseWrites) throw AppError("Failed to set data for '" + std::string(name) + "'");
    Value& v = m_values[Key(keyPath, name, localMachine)];
    // A copy rather than assign(), which GCC 12 warns about falsely (-Wrestrict) once inlined.
    v.text = std::string(value);
    v.present = true;
    ++v.writes;
  }

  bool DeleteValue(std::string_view keyPath, std::string_view name, bool localMachine = false) override {
    const auto it = m_values.find(Key(keyPath, name, localMachine));
    if (it == m_values.end() || !it->second.present) return false;
    it->second.present = false;
    it->second.text.clear();
    ++it->second.deletes;
    return true;
  }

  // Seeds a value without counting it as a write.
  void Preset(std::string_view keyPath, std::string_view name, std::string_view value, bool localMachine = false) {
    Value& v = m_values[Key(keyPath, name, localMachine)];
    v.text = std::string(value);
    v.present = true;
  }

  bool Exists(std::string_view keyPath, std::string_view name, bool localMachine = false) const {
    const auto it = m_values.find(Key(keyPath, name, localMachine));
    return it != m_values.end() && it->second.present;
  }
  int WriteCount(std::string_view keyPath, std::string_view name, bool localMachine = false) const {
    const auto it = m_values.find(Key(keyPath, name, localMachine));
    return it == m_values.end() ? 0 : it->second.writes;
  }
  int DeleteCount(std::string_view keyPath, std::string_view name, bool localMachine = false) const {
    const auto it = m_values.find(Key(keyPath, name, localMachine));
    return it == m_values.end() ? 0 : it->second.deletes;
  }

  // Makes every later write throw, as a registry that refuses access does.
  void RefuseWrites(bool refuse = true) { m_refuseWrites = refuse; }

 private:
  struct Value {
    std::string text;
    bool present = false;
    int writes = 0;
    int deletes = 0;
  };
  using MapKey = std::tuple<bool, std::string, std::string>;

  static std::string Fold(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return folded;
  }
  static MapKey Key(std::string_view keyPath, std::string_view name, bool localMachine) {
    while (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
    while (!keyPath.empty() && keyPath.back() == '\\') keyPath.remove_suffix(1);
    return {localMachine, Fold(keyPath), Fold(name)};
  }

  std::map<MapKey, Value> m_values;
  bool m_refuseWrites = false;
};

}  // namespace discovel::test
