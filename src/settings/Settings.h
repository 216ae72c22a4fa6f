#pragma once
// The settings store: string values in the registry, opened per operation.
// Key paths start with a backslash and are absolute from the root, which is the
// current user's hive unless `localMachine` asks for the machine's.
#include <string>
#include <string_view>

namespace discovel {

class Settings {
 public:
  virtual ~Settings() = default;
  // The stored text, or "" when the key cannot be opened or the value is absent.
  // Every setting's default is its absence: a value that is no text reads as
  // absent and is deleted, silently, where the key may be written. Throws
  // AppError only when the registry fails to hand over a text it holds.
  virtual std::string ReadString(std::string_view keyPath, std::string_view name,
                                 bool localMachine = false) = 0;
  // Stores a string value (an empty text stays an empty string value). Does
  // nothing when the key cannot be opened; throws when the registry refuses.
  virtual void WriteString(std::string_view keyPath, std::string_view name, std::string_view value,
                           bool localMachine = false) = 0;
  // True when the value existed and was deleted.
  virtual bool DeleteValue(std::string_view keyPath, std::string_view name,
                           bool localMachine = false) = 0;
};

// Switches are stored by presence: "T" while away from their default, deleted
// when back; any non-empty text counts as set.
inline bool SwitchIsSet(Settings& settings, std::string_view keyPath, std::string_view name) {
  return !settings.ReadString(keyPath, name).empty();
}

inline void StoreSwitch(Settings& settings, std::string_view keyPath, std::string_view name, bool set) {
  if (set) {
    settings.WriteString(keyPath, name, "T");
  } else {
    settings.DeleteValue(keyPath, name);
  }
}

}  // namespace discovel
