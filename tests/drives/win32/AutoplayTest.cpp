#include "drives/Autoplay.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace discovel {
namespace {

// The keys as the test prefix has them; tests remove some and put them back.
constexpr const char* kAudioCd = "Software\\Classes\\AudioCD";
constexpr const char* kAudioCdShell = "Software\\Classes\\AudioCD\\Shell";
constexpr const char* kPolicies = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
constexpr const char* kCdRom = "SYSTEM\\CurrentControlSet\\Services\\CDRom";

struct Value {
  DWORD type;
  std::vector<BYTE> data;
  std::string Text() const { return std::string(data.begin(), data.end()); }
  DWORD Number() const { return data.size() == sizeof(DWORD) ? *reinterpret_cast<const DWORD*>(data.data()) : 0; }
};

bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::optional<Value> Read(const char* path, const char* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, path, name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  Value value{type, std::vector<BYTE>(size)};
  RegGetValueA(HKEY_LOCAL_MACHINE, path, name, RRF_RT_ANY | RRF_NOEXPAND, &type, value.data.data(), &size);
  value.data.resize(size);
  // Strings come back with their terminator; compare without it.
  if (type == REG_SZ && !value.data.empty() && value.data.back() == 0) value.data.pop_back();
  return value;
}

void CreateKey(const char* path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS)
      << path;
  RegCloseKey(key);
}

void Write(const char* path, const char* name, DWORD type, const void* data, DWORD size) {
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, path, name, type, data, size), ERROR_SUCCESS);
}

void DeleteKey(const char* path) {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
  ASSERT_FALSE(KeyExists(path)) << path;
}

class AutoplayTest : public testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  // The three keys exist and hold none of the values the switches write.
  static void Reset() {
    CreateKey(kAudioCdShell);
    CreateKey(kPolicies);
    CreateKey(kCdRom);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kAudioCdShell, nullptr);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kPolicies, "NoDriveTypeAutoRun");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kPolicies, "NoRun");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kCdRom, "Autorun");
  }
  static void ExpectSuppressed() {
    const auto verb = Read(kAudioCdShell, nullptr);
    ASSERT_TRUE(verb);
    EXPECT_EQ(verb->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(verb->Text(), "");
    const auto policy = Read(kPolicies, "NoDriveTypeAutoRun");
    ASSERT_TRUE(policy);
    EXPECT_EQ(policy->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(policy->Number(), 181u);
  }
};

TEST_F(AutoplayTest, SuppressWritesTheOffValues) {
  SuppressAutoplay();
  ExpectSuppressed();
  const auto autorun = Read(kCdRom, "Autorun");
  ASSERT_TRUE(autorun);
  EXPECT_EQ(autorun->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(autorun->Text(), "0");
}

TEST_F(AutoplayTest, RestoreWritesTheFixedOnValues) {
  SuppressAutoplay();
  RestoreAutoplay();
  const auto verb = Read(kAudioCdShell, nullptr);
  ASSERT_TRUE(verb);
  EXPECT_EQ(verb->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(verb->Text(), "play");
  EXPECT_FALSE(Read(kPolicies, "NoDriveTypeAutoRun"));
  EXPECT_TRUE(KeyExists(kPolicies));
  const auto autorun = Read(kCdRom, "Autorun");
  ASSERT_TRUE(autorun);
  EXPECT_EQ(autorun->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(autorun->Text(), "1");
}

TEST_F(AutoplayTest, RestoreTurnsANumericAutorunIntoTheString) {
  const DWORD zero = 0;
  Write(kCdRom, "Autorun", REG_DWORD, &zero, sizeof zero);
  RestoreAutoplay();
  const auto autorun = Read(kCdRom, "Autorun");
  ASSERT_TRUE(autorun);
  EXPECT_EQ(autorun->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(autorun->Text(), "1");
}

TEST_F(AutoplayTest, RestoreWithoutPolicyValueKeepsTheRestOfTheKey) {
  const DWORD one = 1;
  Write(kPolicies, "NoRun", REG_DWORD, &one, sizeof one);
  RestoreAutoplay();
  RestoreAutoplay();
  EXPECT_FALSE(Read(kPolicies, "NoDriveTypeAutoRun"));
  const auto other = Read(kPolicies, "NoRun");
  ASSERT_TRUE(other);
  EXPECT_EQ(other->Number(), 1u);
}

TEST_F(AutoplayTest, SuppressOverwritesAnyEarlierPolicy) {
  const DWORD all = 0xFF;
  Write(kPolicies, "NoDriveTypeAutoRun", REG_DWORD, &all, sizeof all);
  SetNoDriveTypeAutoRun(false);
  EXPECT_EQ(Read(kPolicies, "NoDriveTypeAutoRun").value().Number(), 181u);
}

TEST_F(AutoplayTest, AudioCdWithoutShellKeyGetsNothing) {
  DeleteKey(kAudioCdShell);
  ASSERT_TRUE(KeyExists(kAudioCd));
  SetAudioCdPlayVerb(false);
  SetAudioCdPlayVerb(true);
  EXPECT_FALSE(KeyExists(kAudioCdShell));
  EXPECT_FALSE(Read(kAudioCd, nullptr));
}

TEST_F(AutoplayTest, MissingAudioCdKeyIsNotCreated) {
  DeleteKey(kAudioCd);
  SuppressAutoplay();
  RestoreAutoplay();
  EXPECT_FALSE(KeyExists(kAudioCd));
  EXPECT_EQ(Read(kCdRom, "Autorun").value().Text(), "1");
}

TEST_F(AutoplayTest, MissingCdRomKeyIsNotCreatedAndTheOthersStillWork) {
  DeleteKey(kCdRom);
  SuppressAutoplay();
  EXPECT_FALSE(KeyExists(kCdRom));
  ExpectSuppressed();
  RestoreAutoplay();
  EXPECT_FALSE(KeyExists(kCdRom));
  EXPECT_EQ(Read(kAudioCdShell, nullptr).value().Text(), "play");
}

TEST_F(AutoplayTest, MissingPolicyKeyIsNotCreatedAndTheOthersStillWork) {
  DeleteKey(kPolicies);
  SuppressAutoplay();
  EXPECT_FALSE(KeyExists(kPolicies));
  EXPECT_EQ(Read(kAudioCdShell, nullptr).value().Text(), "");
  EXPECT_EQ(Read(kCdRom, "Autorun").value().Text(), "0");
}

TEST_F(AutoplayTest, EachSwitchTouchesOnlyItsOwnValue) {
  SetCdRomAutorun(false);
  EXPECT_EQ(Read(kCdRom, "Autorun").value().Text(), "0");
  EXPECT_FALSE(Read(kPolicies, "NoDriveTypeAutoRun"));
  EXPECT_FALSE(Read(kAudioCdShell, nullptr));
  SetAudioCdPlayVerb(true);
  EXPECT_EQ(Read(kAudioCdShell, nullptr).value().Text(), "play");
  EXPECT_FALSE(Read(kPolicies, "NoDriveTypeAutoRun"));
}

}  // namespace
}  // namespace discovel
