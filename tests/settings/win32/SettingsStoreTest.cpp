#include "settings/win32/SettingsStore.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/AppError.h"
#include "settings/SettingsNames.h"

namespace discovel {
namespace {

bool KeyExists(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

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

TEST_F(SettingsStoreTest, ValueOfAnotherTypeRaisesTheRegistryError) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SoftWare\\VANTRO\\Discovel\\V", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD number = 5;
  RegSetValueExA(key, "LastArchiveNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(key);
  try {
    store.ReadString(names::kKeyState, names::kLastArchiveNumber);
    FAIL() << "a DWORD value must not read as text";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'LastArchiveNumber'");
  }
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
