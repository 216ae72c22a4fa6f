#include "drives/DiscWait.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "drives/DriveRules.h"
#include "drives/VolumeArrival.h"
#include "platform/Platform.h"
#include "settings/SettingsNames.h"
#include "support/FakeDrives.h"
#include "support/MemorySettings.h"
#include "support/TempFolder.h"

namespace discovel {
namespace {

using Log = std::vector<std::string>;
using test::FakeDrives;

class LogView final : public DiscWaitView {
 public:
  void ShowMessage(std::string_view text) override { log.push_back("msg " + std::string(text)); }
  void DisableOk() override { log.push_back("disable ok"); }
  void DisableAddAction() override { log.push_back("disable add"); }
  void HideButtons() override { log.push_back("hide buttons"); }
  void StartTimer() override { log.push_back("start timer"); }
  void StopTimer() override { log.push_back("stop timer"); }
  void CloseDialog(int result) override { log.push_back("close " + std::to_string(result)); }
  void PumpMessages() override { log.push_back("pump"); }
  Log log;
};

class DiscWaitTest : public testing::Test {
 protected:
  DiscWait Make(char letter = 'D', DiscWanted wanted = DiscWanted::kNewDisc) {
    return DiscWait(drives, SystemFileSystem(), settings, view, letter,
                    [this](char l) { view.log.push_back(std::string("eject ") + l); },
                    [this](char l) { view.log.push_back(std::string("close tray ") + l); }, wanted);
  }
  void SetHostage(const std::string& path) { settings.Preset(names::kKeyState, names::kHostageFile, path); }
  std::string Hostage() { return settings.ReadString(names::kKeyState, names::kHostageFile); }

  FakeDrives drives;
  test::MemorySettings settings;
  test::TempFolder disc;
  LogView view;
};

TEST_F(DiscWaitTest, NoDeviceDisablesOkAndTheAddActionAndSendsNoTrayCommand) {
  DiscWait wait = Make(kNoDrive);
  wait.Show("");
  EXPECT_EQ(wait.State(), DiscWaitState::NoDevice);
  EXPECT_EQ(view.log, (Log{"msg " + std::string(kMsgInsertDisc), "msg No device installed!", "disable add",
                           "disable ok"}));
  EXPECT_TRUE(drives.sizeAsked.empty());
  wait.Cancel();
  EXPECT_EQ(view.log.back(), "close 2");
}

TEST_F(DiscWaitTest, NewDiscIsConfirmedWithoutButtonsAndClosesWithOkWhenTheTimerFires) {
  drives.discs = {'D'};
  DiscWait wait = Make();
  wait.Show("");
  EXPECT_EQ(wait.State(), DiscWaitState::Confirmed);
  EXPECT_EQ(view.log, (Log{"msg " + std::string(kMsgInsertDisc), "msg CD/DVD... inserted!", "pump",
                           "start timer", "hide buttons"}));
  view.log.clear();
  wait.TimerFired();
  EXPECT_EQ(view.log, (Log{"stop timer", "close 1"}));
}

TEST_F(DiscWaitTest, EmptyDriveOpensTheTrayAndShowsTheDefaultMessage) {
  DiscWait wait = Make();
  wait.Show("");
  EXPECT_EQ(wait.State(), DiscWaitState::Waiting);
  EXPECT_EQ(view.log, (Log{"msg Please insert CD or DVD in CD/DVD ROM device and close it.", "eject D"}));
}

TEST_F(DiscWaitTest, CallersMessageIsShownExactly) {
  DiscWait wait = Make();
  wait.Show(" Insert CD/DVD marked: CD No: 3 ");
  EXPECT_EQ(view.log, (Log{"msg  Insert CD/DVD marked: CD No: 3 ", "eject D"}));
}

TEST_F(DiscWaitTest, DiscWhoseHostageFileExistsIsTheOldOneAndTheTrayOpens) {
  drives.discs = {'D'};
  disc.WriteFile("first.txt", "x");
  SetHostage(disc / "first.txt");
  DiscWait wait = Make();
  wait.Show("");
  EXPECT_EQ(wait.State(), DiscWaitState::Waiting);
  EXPECT_EQ(view.log.back(), "eject D");

  // A disc to be read again may well be the one catalogued last.
  view.log.clear();
  DiscWait again = Make('D', DiscWanted::kAnyDisc);
  again.Show("Insert CD/DVD marked: X");
  EXPECT_EQ(again.State(), DiscWaitState::Confirmed);
  EXPECT_EQ(Hostage(), disc / "first.txt");

  // Another disc than the one in the drive: the tray opens, whatever is in it.
  SetHostage("");
  view.log.clear();
  DiscWait other = Make('D', DiscWanted::kAnotherDisc);
  other.Show("Insert CD/DVD marked: Y");
  EXPECT_EQ(other.State(), DiscWaitState::Waiting);
  EXPECT_EQ(view.log.back(), "eject D");
}

TEST_F(DiscWaitTest, HostageFileOfAnAbsentDiscDoesNotHoldBackANewDisc) {
  drives.discs = {'D'};
  SetHostage(disc / "gone.txt");
  DiscWait wait = Make();
  wait.Show("");
  EXPECT_EQ(wait.State(), DiscWaitState::Confirmed);
}

TEST_F(DiscWaitTest, OnlyAMediumArrivingInTheReadDeviceCloses) {
  DiscWait wait = Make();
  wait.Show("");
  const std::uint32_t d = 1u << 3, f = 1u << 5;
  view.log.clear();
  SetHostage("D:\\a.txt");
  wait.VolumeArrived(d | f, kVolumeFlagMedia);  // F is the letter compared
  EXPECT_EQ(Hostage(), "");
  SetHostage("D:\\a.txt");
  wait.VolumeArrived(d, 0);  // a new drive, not a medium
  EXPECT_EQ(Hostage(), "");
  EXPECT_TRUE(view.log.empty());

  SetHostage("D:\\a.txt");
  wait.VolumeArrived(d, kVolumeFlagMedia);
  EXPECT_EQ(view.log, (Log{"close 1"}));
  EXPECT_EQ(Hostage(), "");
}

TEST_F(DiscWaitTest, ArrivalsAfterTheWaitEndedChangeNothing) {
  drives.discs = {'D'};
  DiscWait wait = Make();
  wait.Show("");
  wait.TimerFired();
  SetHostage("D:\\a.txt");
  view.log.clear();
  wait.VolumeArrived(1u << 3, kVolumeFlagMedia);
  EXPECT_TRUE(view.log.empty()) << "no second close";
  EXPECT_EQ(Hostage(), "D:\\a.txt");
}

TEST_F(DiscWaitTest, HighestLetterMatchingTheReadDeviceCloses) {
  DiscWait wait = Make('F');
  wait.VolumeArrived((1u << 3) | (1u << 5), kVolumeFlagMedia);
  EXPECT_EQ(view.log, (Log{"close 1"}));
}

TEST_F(DiscWaitTest, OnlyVolumeArrivalNoticesCount) {
  DiscWait wait = Make();
  SetHostage("D:\\a.txt");
  wait.DeviceChanged(0x8004, kDeviceTypeVolume, 1u << 3, kVolumeFlagMedia);  // removal
  wait.DeviceChanged(kDeviceArrival, 5, 1u << 3, kVolumeFlagMedia);          // not a volume
  EXPECT_TRUE(view.log.empty());
  EXPECT_EQ(Hostage(), "D:\\a.txt");
  wait.DeviceChanged(kDeviceArrival, kDeviceTypeVolume, 1u << 3, kVolumeFlagMedia);
  EXPECT_EQ(view.log, (Log{"close 1"}));
  EXPECT_EQ(Hostage(), "");
}

TEST_F(DiscWaitTest, OkClosesTheTrayAndCancelDoesNot) {
  DiscWait wait = Make();
  wait.Show("");
  view.log.clear();
  wait.Ok();
  EXPECT_EQ(view.log, (Log{"close tray D", "close 1"}));
  view.log.clear();
  wait.Cancel();
  EXPECT_EQ(view.log, (Log{"close 2"}));
}

}  // namespace
}  // namespace discovel
