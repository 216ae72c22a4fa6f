#pragma once
// The decisions of the disc insertion wait: is a new readable disc already in
// the read device, or must the tray open and the dialog wait for the platform's
// volume arrival, OK or Cancel. The drive is tested once, when shown; never polled.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "drives/DriveQueries.h"
#include "platform/FileSystem.h"
#include "settings/Settings.h"

namespace discovel {

inline constexpr std::string_view kMsgInsertDisc = "Please insert CD or DVD in CD/DVD ROM device and close it.";
inline constexpr std::string_view kMsgNoDevice = "No device installed!";
inline constexpr std::string_view kMsgDiscInserted = "CD/DVD... inserted!";
// Asking for a catalogued disc by its mark, and refusing another one.
inline constexpr std::string_view kMsgInsertDiscMarked = "Insert CD/DVD marked: ";
inline constexpr std::string_view kMsgWrongDisc = "You inserted wrong CD/DVD.";
// How long "inserted!" stays up before the dialog closes by itself.
inline constexpr unsigned kDiscInsertedDelayMs = 500;

// WM_DEVICECHANGE events and the record's device type that the wait heeds.
inline constexpr std::uint32_t kDeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
inline constexpr std::uint32_t kDeviceTypeVolume = 2;           // DBT_DEVTYP_VOLUME

// What the wait dialog shows.
class DiscWaitView {
 public:
  virtual ~DiscWaitView() = default;
  virtual void ShowMessage(std::string_view text) = 0;  // lblMsg
  virtual void DisableOk() = 0;
  // The main window's Add New CD/DVD action, disabled until the program ends.
  virtual void DisableAddAction() = 0;
  virtual void HideButtons() = 0;  // OK and Cancel
  // The one-shot timer of kDiscInsertedDelayMs; TimerFired() when it goes off.
  virtual void StartTimer() = 0;
  virtual void StopTimer() = 0;
  // Ends the modal dialog with this result (1 OK, 2 Cancel).
  virtual void CloseDialog(int modalResult) = 0;
  virtual void PumpMessages() = 0;
};

// What the wait takes for the disc it waits for.
enum class DiscWanted {
  kNewDisc,  // to be added: the disc catalogued last (its first file still there) is not it
  kAnyDisc,  // to be read again: whatever disc is in the drive
  // Another than the one in the drive (a checked disc, whose files are the
  // damaged ones): the tray opens whatever is in it.
  kAnotherDisc,
};

enum class DiscWaitState {
  NotShown,
  NoDevice,   // no CD/DVD drive: only Cancel remains
  Waiting,    // the tray was opened for the user
  Confirmed,  // a new readable disc is in: closes by itself
};

class DiscWait {
 public:
  // `openTray` and `closeTray` take the drive letter (OpenCdTray and CloseCdTray
  // in the program); `driveLetter` is the read device, kNoDrive when there is none.
  DiscWait(DriveQueries& drives, FileSystem& fs, Settings& settings, DiscWaitView& view, char driveLetter,
           std::function<void(char)> openTray, std::function<void(char)> closeTray,
           DiscWanted wanted = DiscWanted::kNewDisc);

  // When the dialog is shown; an empty message means the default one.
  void Show(std::string_view message);
  void TimerFired();
  // A WM_DEVICECHANGE notice: only volume arrivals count.
  void DeviceChanged(std::uint32_t event, std::uint32_t deviceType, std::uint32_t unitMask,
                     std::uint16_t flags);
  // A volume arrival: closes with OK when a medium came into the read device.
  // Every arrival until the wait ends forgets the hostage file, since the disc
  // may have changed.
  void VolumeArrived(std::uint32_t unitMask, std::uint16_t flags);
  void Ok();
  void Cancel();

  DiscWaitState State() const { return m_state; }

 private:
  bool CataloguedLast() const;
  void End(int modalResult);

  DriveQueries& m_drives;
  FileSystem& m_fs;
  Settings& m_settings;
  DiscWaitView& m_view;
  char m_driveLetter;
  std::function<void(char)> m_openTray;
  DiscWanted m_wanted;
  std::function<void(char)> m_closeTray;
  DiscWaitState m_state = DiscWaitState::NotShown;
  bool m_ended = false;
};

}  // namespace discovel
