#include "drives/win32/Autoplay.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "settings/SettingsNames.h"

namespace discovel {
namespace {

// Drive types 0, 2, 4, 5 (CD-ROM) and bit 7.
constexpr DWORD kNoAutoRunDriveTypes = 181;

// A registry value as the W functions give it: its type and raw data (text
// in UTF-16).
struct StoredValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

std::wstring KeyPath(std::string_view path) {
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return Wide(path);
}

bool KeyExists(std::string_view path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, KeyPath(path).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// Never creates the key: a machine without it keeps its settings as they are.
RegKey OpenForWriting(std::string_view path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, KeyPath(path).c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return RegKey();
  }
  return RegKey(key);
}

// `name` "": the key's default value.
std::optional<StoredValue> ReadValue(HKEY key, const std::wstring& name) {
  StoredValue value;
  DWORD size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  value.data.resize(size);
  if (size > 0 &&
      RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(size);
  return value;
}

bool WriteValue(HKEY key, const std::wstring& name, const StoredValue& value) {
  return RegSetValueExW(key, name.c_str(), 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size())) ==
         ERROR_SUCCESS;
}

// With its terminating NUL, which the size of a string value counts.
StoredValue Text(const wchar_t* text) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(text);
  return {REG_SZ, std::vector<BYTE>(bytes, bytes + (std::wcslen(text) + 1) * sizeof(wchar_t))};
}

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Text an earlier version recorded through the ANSI functions, which gave
// it in the code page: its UTF-16 as the system converted it then.
std::vector<BYTE> FromCodePage(const std::vector<BYTE>& ansi) {
  if (ansi.empty()) return {};
  const char* bytes = reinterpret_cast<const char*>(ansi.data());
  const int length = static_cast<int>(ansi.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes, length, wide.data(), units);
  const BYTE* data = reinterpret_cast<const BYTE*>(wide.data());
  return std::vector<BYTE>(data, data + wide.size() * sizeof(wchar_t));
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
// byte (0: the value did not exist; 2: it existed, and its text is UTF-16; 1,
// from earlier versions: it existed, and its text is in the code page), then
// its type and its data.
class Originals {
 public:
  explicit Originals(const char* name) : m_name(Wide(name)) {}

  bool Saved() const { return Read().has_value(); }

  bool Save(const std::optional<StoredValue>& original) const {
    std::vector<BYTE> record(1 + sizeof(DWORD));
    record[0] = original ? kExisted : kAbsent;
    if (original) {
      std::memcpy(record.data() + 1, &original->type, sizeof(DWORD));
      record.insert(record.end(), original->data.begin(), original->data.end());
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(names::kKeyAutoplayOriginals).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    const RegKey owner(key);
    return RegSetValueExW(key, m_name.c_str(), 0, REG_BINARY, record.data(), static_cast<DWORD>(record.size())) ==
           ERROR_SUCCESS;
  }

  // Outer empty: nothing recorded. Inner empty: the value did not exist.
  std::optional<std::optional<StoredValue>> Read() const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(names::kKeyAutoplayOriginals).c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    const RegKey owner(key);
    const std::optional<StoredValue> record = ReadValue(key, m_name);
    if (!record || record->type != REG_BINARY || record->data.size() < 1 + sizeof(DWORD)) return std::nullopt;
    if (record->data[0] == kAbsent) return std::optional<StoredValue>();
    StoredValue original;
    std::memcpy(&original.type, record->data.data() + 1, sizeof(DWORD));
    original.data.assign(record->data.begin() + 1 + sizeof(DWORD), record->data.end());
    if (record->data[0] == kExistedInCodePage && IsTextType(original.type)) {
      original.data = FromCodePage(original.data);
    }
    return std::optional<StoredValue>(original);
  }

  void Forget() const {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, Wide(names::kKeyAutoplayOriginals).c_str(), m_name.c_str());
  }

 private:
  static constexpr BYTE kAbsent = 0;
  static constexpr BYTE kExistedInCodePage = 1;
  static constexpr BYTE kExisted = 2;
  std::wstring m_name;
};

struct Switch {
  std::string_view mustExist;  // the key whose absence leaves the switch alone
  std::string_view key;
  const char* value;  // "": the key's default value
  const char* recordName;
  // The value that holds autoplay off, given what is there now.
  StoredValue (*off)(const std::optional<StoredValue>& current);
};

void SwitchOff(const Switch& s) {
  if (!KeyExists(s.mustExist)) return;
  const RegKey key = OpenForWriting(s.key);
  if (!key) return;
  const Originals originals(s.recordName);
  const std::wstring value = Wide(s.value);
  const std::optional<StoredValue> current = ReadValue(key.get(), value);
  // The first switch-off records; later ones (the window activated again)
  // must not take the program's own value for the original.
  const bool recordedNow = !originals.Saved();
  if (recordedNow && !originals.Save(current)) return;
  if (!WriteValue(key.get(), value, s.off(current)) && recordedNow) originals.Forget();
}

void SwitchBack(const Switch& s) {
  const Originals originals(s.recordName);
  const auto recorded = originals.Read();
  if (!recorded) return;
  const RegKey key = OpenForWriting(s.key);
  // Kept for a later try when the key cannot be written now.
  if (!key) return;
  const std::optional<StoredValue>& original = *recorded;
  const std::wstring value = Wide(s.value);
  const bool done = original ? WriteValue(key.get(), value, *original)
                             : (!ReadValue(key.get(), value) || RegDeleteValueW(key.get(), value.c_str()) == ERROR_SUCCESS);
  if (done) originals.Forget();
}

const Switch kAudioCdSwitch{names::kKeyAudioCd, names::kKeyAudioCdShell, "", "AudioCdPlayVerb",
                              [](const std::optional<StoredValue>&) { return Text(L""); }};

const Switch kPolicySwitch{names::kKeyExplorerPolicies, names::kKeyExplorerPolicies, names::kNoDriveTypeAutoRun.data(),
                                 "NoDriveTypeAutoRun", [](const std::optional<StoredValue>& current) {
                                   // Only adds bits: drive types an administrator turned off stay off.
                                   return Number(AsNumber(current).value_or(0) | kNoAutoRunDriveTypes);
                                 }};

const Switch kCdRomSwitch{names::kKeyCdRomService, names::kKeyCdRomService, names::kCdRomAutorun.data(), "CdRomAutorun",
                           [](const std::optional<StoredValue>& current) {
                             return AsNumber(current) ? Number(0) : Text(L"0");
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
