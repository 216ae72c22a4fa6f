#include "drives/Autoplay.h"

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/Handles.h"
#include "settings/SettingsNames.h"

namespace discovel {
namespace {

// Drive types 0, 2, 4, 5 (CD-ROM) and bit 7.
constexpr DWORD kNoAutoRunDriveTypes = 181;

std::string KeyPath(std::string_view path) {
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

bool KeyExists(std::string_view path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KeyPath(path).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// Never creates the key: a machine without it keeps its settings as they are.
RegKey OpenForWriting(std::string_view path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KeyPath(path).c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return RegKey();
  }
  return RegKey(key);
}

void WriteString(const RegKey& key, const char* name, const char* text) {
  RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 static_cast<DWORD>(lstrlenA(text) + 1));
}

}  // namespace

void SetAudioCdPlayVerb(bool enable) {
  if (!KeyExists(names::kKeyAudioCd)) return;
  const RegKey key = OpenForWriting(names::kKeyAudioCdShell);
  if (!key) return;
  WriteString(key, nullptr, enable ? "play" : "");
}

void SetNoDriveTypeAutoRun(bool enable) {
  if (!KeyExists(names::kKeyExplorerPolicies)) return;
  const RegKey key = OpenForWriting(names::kKeyExplorerPolicies);
  if (!key) return;
  const std::string name(names::kNoDriveTypeAutoRun);
  if (enable) {
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
      RegDeleteValueA(key.get(), name.c_str());
    }
    return;
  }
  const DWORD value = kNoAutoRunDriveTypes;
  RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void SetCdRomAutorun(bool enable) {
  if (!KeyExists(names::kKeyCdRomService)) return;
  const RegKey key = OpenForWriting(names::kKeyCdRomService);
  if (!key) return;
  // A string, as Windows itself keeps it, whatever type the value had before.
  WriteString(key, std::string(names::kCdRomAutorun).c_str(), enable ? "1" : "0");
}

void SuppressAutoplay() {
  SetAudioCdPlayVerb(false);
  SetNoDriveTypeAutoRun(false);
  SetCdRomAutorun(false);
}

void RestoreAutoplay() {
  SetAudioCdPlayVerb(true);
  SetNoDriveTypeAutoRun(true);
  SetCdRomAutorun(true);
}

}  // namespace discovel
