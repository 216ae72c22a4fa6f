#include "settings/win32/SettingsStore.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <vector>

#include "settings/SettingsNames.h"

namespace discovel {
namespace {

bool KeyExists(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

constexpr const char* kStateKey = "SoftWare\\VANTRO\\Discovel\\V";
constexpr const char* kSwitchesKey = "SoftWare\\VANTRO\\Discovel\\S";
constexpr DWORD kAbsent = 0xFFFFFFFF;  // no registry type

// Stores a value of any type, as another tool may, creating the key.
void StoreRaw(const char* key, const char* name, DWORD type, const void* data, DWORD size) {
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key, name, type, data, size), ERROR_SUCCESS) << name;
}

// The value's type under the current user, or kAbsent.
DWORD TypeOf(const char* key, const char* name) {
  DWORD type = 0;
  const LONG result = RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, nullptr);
  return result == ERROR_SUCCESS ? type : kAbsent;
}

// While it lives, the key may be read but not written, as a policy can leave
// it; its owner may still give the access back.
class ReadOnlyKey {
 public:
  explicit ReadOnlyKey(const char* path) {
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, READ_CONTROL | WRITE_DAC, &m_key), ERROR_SUCCESS);
    DWORD size = 0;
    RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, nullptr, &size);
    m_original.resize(size);
    EXPECT_EQ(RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_original.data(), &size), ERROR_SUCCESS);
    // Everyone may read; nobody may set or delete a value.
    SetDacl("D:P(A;;KR;;;WD)");
    HKEY probe = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_SET_VALUE, &probe), ERROR_ACCESS_DENIED)
        << "the key must refuse writing for the test to mean anything";
    if (probe) RegCloseKey(probe);
  }
  ~ReadOnlyKey() {
    RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_original.data());
    RegCloseKey(m_key);
  }
  ReadOnlyKey(const ReadOnlyKey&) = delete;
  ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

 private:
  void SetDacl(const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    EXPECT_EQ(RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    LocalFree(descriptor);
  }

  HKEY m_key = nullptr;
  std::vector<BYTE> m_original;
};

// Each test starts and ends without the program's keys.
class SettingsStoreTest : public testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "SoftWare\\VANTRO");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\DiscovelTest");
  }
  SettingsStore store;
};

TEST_F(SettingsStoreTest, ReadingAndDeletingInAMissingKeyCreateNothing) {
  EXPECT_EQ(store.ReadString(names::kKeyPlacement, "frmMain-l"), "");
  EXPECT_EQ(store.ReadString(names::kKeyState, names::kHostageFile), "");
  EXPECT_FALSE(store.DeleteValue(names::kKeySwitches, names::kPromptOnExit));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "SoftWare\\VANTRO"));
  // Writing creates the key with its parents.
  store.WriteString(names::kKeyPlacement, "frmMain-l", "10");
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "SoftWare\\VANTRO\\Discovel\\S\\wp"));
  EXPECT_EQ(store.ReadString(names::kKeyPlacement, "frmMain-l"), "10");
}

TEST_F(SettingsStoreTest, WrittenTextReadsBackAsStringValue) {
  store.WriteString(names::kKeyState, names::kHostageFile, "D:\\Music\\a b.mp3");
  EXPECT_EQ(store.ReadString(names::kKeyState, names::kHostageFile), "D:\\Music\\a b.mp3");
  DWORD type = 0;
  char data[64] = {};
  DWORD size = sizeof data;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "SoftWare\\VANTRO\\Discovel\\V", "HostageFile", RRF_RT_ANY,
                         &type, data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsStoreTest, TextOfEveryScriptIsStoredAsTheSystemsOwnText) {
  const std::string path = "D:\\東京\\Привет мир\\\U0001F600.mp3";
  store.WriteString(names::kKeyState, names::kHostageFile, path);
  EXPECT_EQ(store.ReadString(names::kKeyState, names::kHostageFile), path);
  // Other programs read the same text.
  wchar_t data[64] = {};
  DWORD size = sizeof data;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"SoftWare\\VANTRO\\Discovel\\V", L"HostageFile", RRF_RT_REG_SZ, nullptr,
                         data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(data), L"D:\\東京\\Привет мир\\\U0001F600.mp3");
}

TEST_F(SettingsStoreTest, TextAnEarlierVersionStoredInTheCodePageReadsBackAsItsCharacters) {
  // Written through the ANSI functions, in Windows-1252, as earlier versions did.
  const char path[] = "D:\\Caf\xE9 \x80.mp3";
  StoreRaw(kStateKey, "HostageFile", REG_SZ, path, sizeof path);
  EXPECT_EQ(store.ReadString(names::kKeyState, names::kHostageFile), "D:\\Café €.mp3");
}

TEST_F(SettingsStoreTest, WritingEmptyTextKeepsTheValue) {
  store.WriteString(names::kKeyState, names::kHostageFile, "D:\\x");
  store.WriteString(names::kKeyState, names::kHostageFile, "");
  EXPECT_EQ(store.ReadString(names::kKeyState, names::kHostageFile), "");
  // It still exists: deleting it succeeds once.
  EXPECT_TRUE(store.DeleteValue(names::kKeyState, names::kHostageFile));
  EXPECT_FALSE(store.DeleteValue(names::kKeyState, names::kHostageFile));
}

TEST_F(SettingsStoreTest, DeletingAMissingValueChangesNothing) {
  store.WriteString(names::kKeyState, names::kLastArchiveNumber, "7");
  EXPECT_FALSE(store.DeleteValue(names::kKeyState, names::kDefaultDeviceDrive));
  EXPECT_EQ(store.ReadString(names::kKeyState, names::kLastArchiveNumber), "7");
}

TEST_F(SettingsStoreTest, AValueThatIsNoTextReadsAsAbsentAndIsDeletedAtOnce) {
  const DWORD number = 5;
  const BYTE bytes[] = {'T', 0};
  const char lines[] = "7\0";  // and the string's own terminator: the list's end
  StoreRaw(kStateKey, "LastArchiveNumber", REG_DWORD, &number, sizeof number);
  StoreRaw(kStateKey, "HostageFile", REG_BINARY, bytes, sizeof bytes);
  StoreRaw(kStateKey, "DefaultDeviceDrive", REG_MULTI_SZ, lines, sizeof lines);
  store.WriteString(names::kKeyState, names::kProgramLocation, "C:\\Discovel\\discovel.exe");
  for (const char* name : {"LastArchiveNumber", "HostageFile", "DefaultDeviceDrive"}) {
    EXPECT_EQ(store.ReadString(names::kKeyState, name), "") << name;
    EXPECT_EQ(TypeOf(kStateKey, name), kAbsent) << name << " is mended by the read";
  }
  EXPECT_EQ(store.ReadString(names::kKeyState, names::kProgramLocation), "C:\\Discovel\\discovel.exe");
}

TEST_F(SettingsStoreTest, AnExpandableStringIsTextReadAsStored) {
  const char text[] = "%TEMP%\\a.mp3";
  StoreRaw(kStateKey, "HostageFile", REG_EXPAND_SZ, text, sizeof text);
  EXPECT_EQ(store.ReadString(names::kKeyState, names::kHostageFile), "%TEMP%\\a.mp3");
  EXPECT_EQ(TypeOf(kStateKey, "HostageFile"), static_cast<DWORD>(REG_EXPAND_SZ));
}

TEST_F(SettingsStoreTest, AValueThatIsNoTextInAKeyTheUserMayNotWriteReadsAsAbsentAndStays) {
  const DWORD number = 1;
  StoreRaw(kSwitchesKey, "PromptOnExit", REG_DWORD, &number, sizeof number);
  {
    const ReadOnlyKey readOnly(kSwitchesKey);
    EXPECT_EQ(store.ReadString(names::kKeySwitches, names::kPromptOnExit), "");
    EXPECT_FALSE(SwitchIsSet(store, names::kKeySwitches, names::kPromptOnExit));
  }
  EXPECT_EQ(TypeOf(kSwitchesKey, "PromptOnExit"), static_cast<DWORD>(REG_DWORD));
}

TEST_F(SettingsStoreTest, LocalMachineFlagSelectsTheMachineHive) {
  store.WriteString("\\Software\\DiscovelTest", "Probe", "machine", true);
  EXPECT_EQ(store.ReadString("\\Software\\DiscovelTest", "Probe", true), "machine");
  EXPECT_EQ(store.ReadString("\\Software\\DiscovelTest", "Probe"), "");
  EXPECT_TRUE(store.DeleteValue("\\Software\\DiscovelTest", "Probe", true));
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\DiscovelTest");
}

TEST_F(SettingsStoreTest, SwitchesAreStoredByPresence) {
  EXPECT_FALSE(SwitchIsSet(store, names::kKeySwitches, names::kPromptOnExit));
  StoreSwitch(store, names::kKeySwitches, names::kPromptOnExit, true);
  EXPECT_EQ(store.ReadString(names::kKeySwitches, names::kPromptOnExit), "T");
  StoreSwitch(store, names::kKeySwitches, names::kPromptOnExit, false);
  EXPECT_FALSE(store.DeleteValue(names::kKeySwitches, names::kPromptOnExit)) << "switching back deletes";
  // Any non-empty text counts as set.
  store.WriteString(names::kKeySwitches, names::kShowTrayIconOff, "F");
  EXPECT_TRUE(SwitchIsSet(store, names::kKeySwitches, names::kShowTrayIconOff));
}

}  // namespace
}  // namespace discovel
