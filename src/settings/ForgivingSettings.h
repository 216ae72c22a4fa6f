#pragma once
// The settings as start-up reads them: a value that cannot be read (stored with
// another type than text) is reported once through `report` and then counts as
// absent, so its setting takes its default and the program still starts. Writes
// and deletes go through unchanged, so the next write of the setting stores a
// proper text and the report does not come again.
#include <functional>
#include <string>
#include <utility>

#include "platform/AppError.h"
#include "settings/Settings.h"

namespace discovel {

class ForgivingSettings final : public Settings {
 public:
  ForgivingSettings(Settings& settings, std::function<void(const std::string&)> report)
      : m_settings(settings), m_report(std::move(report)) {}

  std::string ReadString(std::string_view keyPath, std::string_view name, bool localMachine = false) override {
    try {
      return m_settings.ReadString(keyPath, name, localMachine);
    } catch (const AppError& e) {
      m_report(e.what());
      return {};
    }
  }
  void WriteString(std::string_view keyPath, std::string_view name, std::string_view value,
                   bool localMachine = false) override {
    m_settings.WriteString(keyPath, name, value, localMachine);
  }
  bool DeleteValue(std::string_view keyPath, std::string_view name, bool localMachine = false) override {
    return m_settings.DeleteValue(keyPath, name, localMachine);
  }

 private:
  Settings& m_settings;
  std::function<void(const std::string&)> m_report;
};

}  // namespace discovel
