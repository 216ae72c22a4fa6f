#include "drives/DiscWait.h"

#include <utility>

#include "drives/DriveRules.h"
#include "drives/VolumeArrival.h"
#include "platform/ModalResult.h"
#include "settings/SettingsNames.h"

namespace discovel {

DiscWait::DiscWait(DriveQueries& drives, FileSystem& fs, Settings& settings, DiscWaitView& view,
                   char driveLetter, std::function<void(char)> openTray, std::function<void(char)> closeTray,
                   DiscWanted wanted)
    : m_drives(drives),
      m_fs(fs),
      m_settings(settings),
      m_view(view),
      m_driveLetter(driveLetter),
      m_openTray(std::move(openTray)),
      m_wanted(wanted),
      m_closeTray(std::move(closeTray)) {}

void DiscWait::Show(std::string_view message) {
  m_view.ShowMessage(message.empty() ? kMsgInsertDisc : message);
  if (m_driveLetter == kNoDrive) {
    m_state = DiscWaitState::NoDevice;
    m_view.ShowMessage(kMsgNoDevice);
    m_view.DisableAddAction();
    m_view.DisableOk();
    return;
  }

  if (m_wanted == DiscWanted::kAnotherDisc || !DiscInDrive(m_drives, m_driveLetter) ||
      (m_wanted == DiscWanted::kNewDisc && CataloguedLast())) {
    m_state = DiscWaitState::Waiting;
    m_openTray(m_driveLetter);
    return;
  }

  m_state = DiscWaitState::Confirmed;
  m_view.ShowMessage(kMsgDiscInserted);
  m_view.PumpMessages();
  m_view.StartTimer();
  m_view.HideButtons();
}

bool DiscWait::CataloguedLast() const {
  // The first file of the disc catalogued last: still there means the same disc.
  const std::string hostage = m_settings.ReadString(names::kKeyState, names::kHostageFile);
  return !hostage.empty() && m_fs.FileExists(hostage);
}

void DiscWait::TimerFired() {
  m_view.StopTimer();
  End(kModalOk);
}

void DiscWait::End(int modalResult) {
  m_ended = true;
  m_view.CloseDialog(modalResult);
}

void DiscWait::DeviceChanged(std::uint32_t event, std::uint32_t deviceType, std::uint32_t unitMask,
                             std::uint16_t flags) {
  if (event == kDeviceArrival && deviceType == kDeviceTypeVolume) VolumeArrived(unitMask, flags);
}

void DiscWait::VolumeArrived(std::uint32_t unitMask, std::uint16_t flags) {
  // Once the wait has ended, a disc that arrives is none of its business.
  if (m_ended) return;
  const std::string letter = VolumeArrivalLetter(unitMask, flags);
  if (!letter.empty() && letter == std::string{m_driveLetter, ':'}) End(kModalOk);
  m_settings.WriteString(names::kKeyState, names::kHostageFile, "");
}

void DiscWait::Ok() {
  // OK is disabled without a drive; no tray command goes to a missing one.
  if (m_state == DiscWaitState::NoDevice) return;
  m_closeTray(m_driveLetter);
  End(kModalOk);
}

void DiscWait::Cancel() { End(kModalCancel); }

}  // namespace discovel
