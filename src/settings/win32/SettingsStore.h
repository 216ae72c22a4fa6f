#pragma once
#include "settings/Settings.h"

namespace discovel {

// The registry behind Settings. Nothing is cached: every call opens the key,
// does its work and closes it. Only writing creates a missing key; a read
// that meets a value of another type than text deletes it.
class SettingsStore final : public Settings {
 public:
  std::string ReadString(std::string_view keyPath, std::string_view name, bool localMachine = false) override;
  void WriteString(std::string_view keyPath, std::string_view name, std::string_view value,
                   bool localMachine = false) override;
  bool DeleteValue(std::string_view keyPath, std::string_view name, bool localMachine = false) override;
};

// The store the program uses.
SettingsStore& ProgramSettings();

}  // namespace discovel
