#include "drives/win32/AudioDisc.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <optional>
#include <string>
#include <vector>

#include "support/TestDrive.h"
#include "support/win32/WineDrive.h"

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
    EXPECT_TRUE(test::RereadDriveLabel('d'));
  }
  void InsertLabelled(const std::string& label) {
    drive->InsertEmptyDisc();
    drive->AddFile(".windows-label", label);
    drive->AddFile("track01.cda", "x");
    ASSERT_TRUE(test::RereadDriveLabel('d'));
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
  ASSERT_TRUE(test::RereadDriveLabel('d'));
  EXPECT_FALSE(IsAudioDisc('D'));
  drive->Eject();
  ASSERT_TRUE(test::RereadDriveLabel('d'));
  EXPECT_FALSE(IsAudioDisc('D'));
}

TEST_F(AudioDiscTest, OnlyCdRomDrivesAreAsked) {
  EXPECT_FALSE(IsAudioDisc('C'));
  ASSERT_EQ(GetLogicalDrives() & (1u << ('Q' - 'A')), 0u) << "Q: must be unused in the prefix";
  EXPECT_FALSE(IsAudioDisc('Q'));
}

TEST_F(AudioDiscTest, ProcessErrorModeIsLeftAlone) {
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
