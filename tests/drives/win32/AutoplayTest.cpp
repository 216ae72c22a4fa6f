#include "drives/win32/Autoplay.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
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

constexpr const char* kOriginals = "SoftWare\\VANTRO\\Discovel\\V\\Autoplay";

void WriteNumber(const char* path, const char* name, DWORD number) {
  Write(path, name, REG_DWORD, &number, sizeof number);
}

void WriteText(const char* path, const char* name, const char* text) {
  Write(path, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

bool RecordKept() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kOriginals, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD values = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  return values > 0;
}

class AutoplayTest : public testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  // The three keys exist and hold none of the values the switches write;
  // nothing is recorded.
  static void Reset() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kOriginals);
    RegDeleteKeyA(HKEY_CURRENT_USER, kOriginals);
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

TEST_F(AutoplayTest, RestorePutsBackExactlyWhatWasThere) {
  WriteText(kAudioCdShell, nullptr, "play");
  WriteNumber(kCdRom, "Autorun", 1);
  SuppressAutoplay();
  // Activated again before any restore: the record keeps the originals.
  SuppressAutoplay();
  EXPECT_EQ(Read(kAudioCdShell, nullptr).value().Text(), "");
  const auto off = Read(kCdRom, "Autorun");
  ASSERT_TRUE(off);
  EXPECT_EQ(off->type, static_cast<DWORD>(REG_DWORD)) << "a number stays a number";
  EXPECT_EQ(off->Number(), 0u);

  RestoreAutoplay();
  EXPECT_EQ(Read(kAudioCdShell, nullptr).value().Text(), "play");
  EXPECT_FALSE(Read(kPolicies, "NoDriveTypeAutoRun")) << "it did not exist before";
  EXPECT_TRUE(KeyExists(kPolicies));
  const auto autorun = Read(kCdRom, "Autorun");
  ASSERT_TRUE(autorun);
  EXPECT_EQ(autorun->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(autorun->Number(), 1u);
  EXPECT_FALSE(RecordKept());
}

TEST_F(AutoplayTest, AnAdministratorsPolicyOnlyGainsBitsAndIsKept) {
  WriteNumber(kPolicies, "NoDriveTypeAutoRun", 0x08);
  WriteNumber(kPolicies, "NoRun", 1);
  SuppressAutoplay();
  EXPECT_EQ(Read(kPolicies, "NoDriveTypeAutoRun").value().Number(), 0x08u | 181u);
  RestoreAutoplay();
  const auto policy = Read(kPolicies, "NoDriveTypeAutoRun");
  ASSERT_TRUE(policy);
  EXPECT_EQ(policy->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(policy->Number(), 0x08u);
  EXPECT_EQ(Read(kPolicies, "NoRun").value().Number(), 1u);
}

TEST_F(AutoplayTest, RestoreWithoutSuppressChangesNothing) {
  WriteNumber(kPolicies, "NoDriveTypeAutoRun", 0xFF);
  WriteText(kCdRom, "Autorun", "0");
  RestoreAutoplay();
  EXPECT_EQ(Read(kPolicies, "NoDriveTypeAutoRun").value().Number(), 0xFFu);
  EXPECT_EQ(Read(kCdRom, "Autorun").value().Text(), "0");
  EXPECT_FALSE(Read(kAudioCdShell, nullptr));
}

TEST_F(AutoplayTest, AfterACrashTheRecordPutsTheOriginalsBack) {
  WriteText(kCdRom, "Autorun", "1");
  SuppressAutoplay();
  // The process ends here without restoring: the record outlives it.
  ASSERT_TRUE(RecordKept());
  EXPECT_EQ(Read(kCdRom, "Autorun").value().Text(), "0");
  RestoreAutoplay();
  EXPECT_EQ(Read(kCdRom, "Autorun").value().Text(), "1");
  EXPECT_FALSE(Read(kPolicies, "NoDriveTypeAutoRun"));
  EXPECT_FALSE(Read(kAudioCdShell, nullptr));
  EXPECT_FALSE(RecordKept());
}

TEST_F(AutoplayTest, ARecordOfAnEarlierVersionPutsItsCodePageTextBack) {
  // Earlier versions recorded the value as the ANSI functions read it: the
  // flag 1, the type, then the text in the code page (Windows-1252 here).
  const char original[] = "Wiedergabe \xFC" "ber \x80";
  std::vector<BYTE> record{1};
  const DWORD type = REG_SZ;
  record.insert(record.end(), reinterpret_cast<const BYTE*>(&type), reinterpret_cast<const BYTE*>(&type) + sizeof type);
  record.insert(record.end(), original, original + sizeof original);
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kOriginals, "AudioCdPlayVerb", REG_BINARY, record.data(),
                            static_cast<DWORD>(record.size())),
            ERROR_SUCCESS);
  WriteText(kAudioCdShell, nullptr, "");
  SetAudioCdPlayVerb(true);
  wchar_t verb[32] = {};
  DWORD size = sizeof verb;
  ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\AudioCD\\Shell", nullptr, RRF_RT_REG_SZ, nullptr,
                         verb, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(verb), L"Wiedergabe über €");
  EXPECT_FALSE(RecordKept());
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
  EXPECT_EQ(Read(kCdRom, "Autorun").value().Text(), "0");
  RestoreAutoplay();
  EXPECT_FALSE(KeyExists(kAudioCd));
  EXPECT_FALSE(Read(kCdRom, "Autorun"));
}

TEST_F(AutoplayTest, MissingCdRomKeyIsNotCreatedAndTheOthersStillWork) {
  DeleteKey(kCdRom);
  SuppressAutoplay();
  EXPECT_FALSE(KeyExists(kCdRom));
  ExpectSuppressed();
  RestoreAutoplay();
  EXPECT_FALSE(KeyExists(kCdRom));
  EXPECT_FALSE(Read(kAudioCdShell, nullptr));
  EXPECT_FALSE(RecordKept());
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
  SetAudioCdPlayVerb(false);
  SetCdRomAutorun(true);
  EXPECT_FALSE(Read(kCdRom, "Autorun"));
  EXPECT_EQ(Read(kAudioCdShell, nullptr).value().Text(), "");
  EXPECT_FALSE(Read(kPolicies, "NoDriveTypeAutoRun"));
}

}  // namespace
}  // namespace discovel
