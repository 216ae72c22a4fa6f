#include "drives/AudioDisc.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <optional>
#include <string>
#include <vector>

#include "support/TestDrive.h"

namespace discovel {
namespace {

TEST(AudioCdLabelTest, OnlyTheTwoExactLabels) {
  EXPECT_TRUE(IsAudioCdLabel("Audio CD"));
  EXPECT_TRUE(IsAudioCdLabel("Audio-CD"));
  EXPECT_FALSE(IsAudioCdLabel("audio cd"));
  EXPECT_FALSE(IsAudioCdLabel("AUDIO-CD"));
  EXPECT_FALSE(IsAudioCdLabel("Audio CD "));  // Wine trims label files, so only here
  EXPECT_FALSE(IsAudioCdLabel(" Audio CD"));
  EXPECT_FALSE(IsAudioCdLabel("Audio_CD"));
  EXPECT_FALSE(IsAudioCdLabel("AudioCD"));
  EXPECT_FALSE(IsAudioCdLabel("Audio"));
  EXPECT_FALSE(IsAudioCdLabel(""));
}

// Wine's mount manager extension, as winecfg uses it (Wine 8 layout).
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
constexpr DWORD kQueryUnixDrive = CTL_CODE('m', 33, METHOD_BUFFERED, FILE_READ_ACCESS);
struct UnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};

// Wine reads a disc's label once per drive definition. Defining the drive again
// with its own mount point and type makes the next query read the label anew.
::testing::AssertionResult RereadLabel(char letter) {
  HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return ::testing::AssertionFailure() << "no mount manager";
  UnixDrive query{};
  query.size = sizeof query;
  query.letter = static_cast<WCHAR>(letter);
  std::vector<char> answer(4096);
  DWORD got = 0;
  const BOOL known = DeviceIoControl(manager, kQueryUnixDrive, &query, sizeof query, answer.data(),
                                     static_cast<DWORD>(answer.size()), &got, nullptr);
  const auto* current = reinterpret_cast<const UnixDrive*>(answer.data());
  if (!known || got < sizeof(UnixDrive) || current->mountPointOffset == 0) {
    CloseHandle(manager);
    return ::testing::AssertionFailure() << "cannot query the drive " << letter << ": " << GetLastError();
  }
  const std::string mountPoint(answer.data() + current->mountPointOffset);

  std::vector<char> request(sizeof(UnixDrive) + mountPoint.size() + 1);
  auto* define = reinterpret_cast<UnixDrive*>(request.data());
  define->size = static_cast<ULONG>(request.size());
  define->type = current->type;
  define->letter = static_cast<WCHAR>(letter);
  define->mountPointOffset = sizeof(UnixDrive);
  mountPoint.copy(request.data() + sizeof(UnixDrive), mountPoint.size());
  const BOOL defined = DeviceIoControl(manager, kDefineUnixDrive, request.data(),
                                       static_cast<DWORD>(request.size()), nullptr, 0, &got, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(manager);
  if (!defined) return ::testing::AssertionFailure() << "cannot define the drive again: " << error;
  return ::testing::AssertionSuccess();
}

class AudioDiscTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!test::TestDrive::Available()) GTEST_SKIP() << "needs the test prefix's CD-ROM drive";
    drive.emplace();
  }
  void TearDown() override {
    if (!drive) return;
    drive->Eject();
    // No label of ours stays cached for later tests.
    EXPECT_TRUE(RereadLabel('d'));
  }
  void InsertLabelled(const std::string& label) {
    drive->InsertEmptyDisc();
    drive->AddFile(".windows-label", label);
    drive->AddFile("track01.cda", "x");
    ASSERT_TRUE(RereadLabel('d'));
  }
  static std::string LabelOfD() {
    char label[64] = {};
    if (!GetVolumeInformationA("D:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0)) return "<failed>";
    return label;
  }
  std::optional<test::TestDrive> drive;
};

TEST_F(AudioDiscTest, AudioLabelsOnTheCdRomAreAudioDiscs) {
  InsertLabelled("Audio CD");
  ASSERT_EQ(LabelOfD(), "Audio CD");
  EXPECT_TRUE(IsAudioDisc('D'));
  EXPECT_TRUE(IsAudioDisc('d'));
  InsertLabelled("Audio-CD");
  ASSERT_EQ(LabelOfD(), "Audio-CD");
  EXPECT_TRUE(IsAudioDisc('D'));
}

TEST_F(AudioDiscTest, OtherLabelsAreDataDiscs) {
  for (const std::string label : {"audio cd", "AUDIO-CD", "  Audio CD", "Audio CD2", "DATA"}) {
    InsertLabelled(label);
    ASSERT_EQ(LabelOfD(), label);
    EXPECT_FALSE(IsAudioDisc('D')) << label;
  }
}

TEST_F(AudioDiscTest, UnlabelledAndEmptyDrivesAreNotAudio) {
  drive->InsertEmptyDisc();
  drive->AddFile("a.txt", "a");
  ASSERT_TRUE(RereadLabel('d'));
  EXPECT_FALSE(IsAudioDisc('D'));
  drive->Eject();
  ASSERT_TRUE(RereadLabel('d'));
  EXPECT_FALSE(IsAudioDisc('D'));
}

TEST_F(AudioDiscTest, OnlyCdRomDrivesAreAsked) {
  EXPECT_FALSE(IsAudioDisc('C'));
  ASSERT_EQ(GetLogicalDrives() & (1u << ('Q' - 'A')), 0u) << "Q: must be unused in the prefix";
  EXPECT_FALSE(IsAudioDisc('Q'));
}

TEST_F(AudioDiscTest, ProcessErrorModeIsRestored) {
  const UINT original = GetErrorMode();
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  IsAudioDisc('D');
  const UINT afterCdRom = GetErrorMode();
  IsAudioDisc('C');
  const UINT afterFixed = GetErrorMode();
  SetErrorMode(original);
  EXPECT_EQ(afterCdRom, static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
  EXPECT_EQ(afterFixed, static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
}

}  // namespace
}  // namespace discovel
