#include "settings/win32/SettingsStore.h"

#include <windows.h>

#include "platform/AppError.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace discovel {
namespace {

HKEY Root(bool localMachine) { return localMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// A leading backslash makes the path absolute from the root.
std::wstring Relative(std::string_view keyPath) {
  if (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
  return Wide(keyPath);
}

// Writing creates the key with its parents.
RegKey OpenOrCreate(std::string_view keyPath, bool localMachine) {
  HKEY key = nullptr;
  const LONG result = RegCreateKeyExW(Root(localMachine), Relative(keyPath).c_str(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key, nullptr);
  return RegKey(result == ERROR_SUCCESS ? key : nullptr);
}

// Reading and deleting ask only for what they do and never create a key: a
// missing key holds no value.
RegKey OpenExisting(std::string_view keyPath, bool localMachine, REGSAM access) {
  HKEY key = nullptr;
  const LONG result = RegOpenKeyExW(Root(localMachine), Relative(keyPath).c_str(), 0, access, &key);
  return RegKey(result == ERROR_SUCCESS ? key : nullptr);
}

// An expandable string is text too, read as stored (unexpanded).
bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

}  // namespace

// The registry keeps text as UTF-16, also what earlier versions wrote through
// the ANSI functions (converted from the code page then), so the W functions
// read every stored text as it was meant.
std::string SettingsStore::ReadString(std::string_view keyPath, std::string_view name, bool localMachine) {
  RegKey key = OpenExisting(keyPath, localMachine, KEY_QUERY_VALUE);
  if (!key) return {};
  const std::wstring valueName = Wide(name);
  // The size is asked first; another program may change the value before
  // the data is read, and then it is asked again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      return {};
    }
    // Sizes are in bytes; a value stored by hand may hold an odd count.
    std::wstring value((size + 1) / 2, L'\0');
    const LONG read = IsText(type) && size > 0
                          ? RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(value.data()), &size)
                          : ERROR_SUCCESS;
    if (read == ERROR_MORE_DATA) continue;
    if (read == ERROR_FILE_NOT_FOUND) return {};
    if (read != ERROR_SUCCESS) throw AppError("Failed to get data for '" + std::string(name) + "'");
    if (!IsText(type)) {
      // Put there by hand, by a policy or by another tool: the setting takes
      // its default, which is its absence, and the value goes at once so that
      // no later read meets it. Where the key may not be written it stays and
      // keeps reading as absent.
      DeleteValue(keyPath, name, localMachine);
      return {};
    }
    value.resize(size / 2);
    // The stored terminator (or a missing one) is not part of the text.
    const std::size_t end = value.find(L'\0');
    if (end != std::wstring::npos) value.resize(end);
    return Utf8(value);
  }
  throw AppError("Failed to get data for '" + std::string(name) + "'");
}

void SettingsStore::WriteString(std::string_view keyPath, std::string_view name, std::string_view value,
                                bool localMachine) {
  RegKey key = OpenOrCreate(keyPath, localMachine);
  if (!key) return;
  const std::wstring data = Wide(value);
  // The size counts the terminating NUL, in bytes.
  if (RegSetValueExW(key.get(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
    throw AppError("Failed to set data for '" + std::string(name) + "'");
  }
}

bool SettingsStore::DeleteValue(std::string_view keyPath, std::string_view name, bool localMachine) {
  RegKey key = OpenExisting(keyPath, localMachine, KEY_QUERY_VALUE | KEY_SET_VALUE);
  if (!key) return false;
  const std::wstring valueName = Wide(name);
  if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return RegDeleteValueW(key.get(), valueName.c_str()) == ERROR_SUCCESS;
}

SettingsStore& ProgramSettings() {
  static SettingsStore store;
  return store;
}

}  // namespace discovel
