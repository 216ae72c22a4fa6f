#include "drives/win32/Autoplay.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/Handles.h"
#include "settings/SettingsNames.h"

namespace discovel {
namespace {

// Drive types 0, 2, 4, 5 (CD-ROM) and bit 7.
constexpr DWORD kNoAutoRunDriveTypes = 181;

// A registry value as stored: its type and raw data.
struct StoredValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

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

std::optional<StoredValue> ReadValue(HKEY key, const char* name) {
  StoredValue value;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  value.data.resize(size);
  if (size > 0 && RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(size);
  return value;
}

bool WriteValue(HKEY key, const char* name, const StoredValue& value) {
  return RegSetValueExA(key, name, 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size())) ==
         ERROR_SUCCESS;
}

StoredValue Text(const char* text) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(text);
  return {REG_SZ, std::vector<BYTE>(bytes, bytes + std::strlen(text) + 1)};
}

StoredValue Number(DWORD number) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&number);
  return {REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof number)};
}

std::optional<DWORD> AsNumber(const std::optional<StoredValue>& value) {
  if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD)) return std::nullopt;
  DWORD number = 0;
  std::memcpy(&number, value->data.data(), sizeof number);
  return number;
}

// The record of one switch under the current user: a binary value holding one
// byte (1: the value existed, 0: it did not), then its type and its data.
class Originals {
 public:
  explicit Originals(const char* name) : m_name(name) {}

  bool Saved() const { return Read().has_value(); }

  bool Save(const std::optional<StoredValue>& original) const {
    std::vector<BYTE> record(1 + sizeof(DWORD));
    record[0] = original ? 1 : 0;
    if (original) {
      std::memcpy(record.data() + 1, &original->type, sizeof(DWORD));
      record.insert(record.end(), original->data.begin(), original->data.end());
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, std::string(names::kKeyAutoplayOriginals).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    const RegKey owner(key);
    return RegSetValueExA(key, m_name, 0, REG_BINARY, record.data(), static_cast<DWORD>(record.size())) ==
           ERROR_SUCCESS;
  }

  // Outer empty: nothing recorded. Inner empty: the value did not exist.
  std::optional<std::optional<StoredValue>> Read() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, std::string(names::kKeyAutoplayOriginals).c_str(), 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    const RegKey owner(key);
    const std::optional<StoredValue> record = ReadValue(key, m_name);
    if (!record || record->type != REG_BINARY || record->data.size() < 1 + sizeof(DWORD)) return std::nullopt;
    if (record->data[0] == 0) return std::optional<StoredValue>();
    StoredValue original;
    std::memcpy(&original.type, record->data.data() + 1, sizeof(DWORD));
    original.data.assign(record->data.begin() + 1 + sizeof(DWORD), record->data.end());
    return std::optional<StoredValue>(original);
  }

  void Forget() const {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, std::string(names::kKeyAutoplayOriginals).c_str(), m_name);
  }

 private:
  const char* m_name;
};

struct Switch {
  std::string_view mustExist;  // the key whose absence leaves the switch alone
  std::string_view key;
  const char* value;  // null: the key's default value
  const char* recordName;
  // The value that holds autoplay off, given what is there now.
  StoredValue (*off)(const std::optional<StoredValue>& current);
};

void SwitchOff(const Switch& s) {
  if (!KeyExists(s.mustExist)) return;
  const RegKey key = OpenForWriting(s.key);
  if (!key) return;
  const Originals originals(s.recordName);
  const std::optional<StoredValue> current = ReadValue(key.get(), s.value);
  // The first switch-off records; later ones (the window activated again)
  // must not take the program's own value for the original.
  const bool recordedNow = !originals.Saved();
  if (recordedNow && !originals.Save(current)) return;
  if (!WriteValue(key.get(), s.value, s.off(current)) && recordedNow) originals.Forget();
}

void SwitchBack(const Switch& s) {
  const Originals originals(s.recordName);
  const auto recorded = originals.Read();
  if (!recorded) return;
  const RegKey key = OpenForWriting(s.key);
  // Kept for a later try when the key cannot be written now.
  if (!key) return;
  const std::optional<StoredValue>& original = *recorded;
  const bool done = original ? WriteValue(key.get(), s.value, *original)
                             : (!ReadValue(key.get(), s.value) || RegDeleteValueA(key.get(), s.value) == ERROR_SUCCESS);
  if (done) originals.Forget();
}

const Switch kAudioCdSwitch{names::kKeyAudioCd, names::kKeyAudioCdShell, nullptr, "AudioCdPlayVerb",
                              [](const std::optional<StoredValue>&) { return Text(""); }};

const Switch kPolicySwitch{names::kKeyExplorerPolicies, names::kKeyExplorerPolicies, names::kNoDriveTypeAutoRun.data(),
                                 "NoDriveTypeAutoRun", [](const std::optional<StoredValue>& current) {
                                   // Only adds bits: drive types an administrator turned off stay off.
                                   return Number(AsNumber(current).value_or(0) | kNoAutoRunDriveTypes);
                                 }};

const Switch kCdRomSwitch{names::kKeyCdRomService, names::kKeyCdRomService, names::kCdRomAutorun.data(), "CdRomAutorun",
                           [](const std::optional<StoredValue>& current) {
                             return AsNumber(current) ? Number(0) : Text("0");
                           }};

}  // namespace

void SetAudioCdPlayVerb(bool enable) { enable ? SwitchBack(kAudioCdSwitch) : SwitchOff(kAudioCdSwitch); }

void SetNoDriveTypeAutoRun(bool enable) {
  enable ? SwitchBack(kPolicySwitch) : SwitchOff(kPolicySwitch);
}

void SetCdRomAutorun(bool enable) { enable ? SwitchBack(kCdRomSwitch) : SwitchOff(kCdRomSwitch); }

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
