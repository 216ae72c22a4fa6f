#pragma once
// Every registry key and value the program reads or writes, in one place.
#include <string_view>

#include "platform/ProgramName.h"

namespace discovel::names {

// The program's own keys, under the current user.
inline constexpr std::string_view kKeyState = "\\SoftWare\\VANTRO\\Discovel\\V";
inline constexpr std::string_view kKeySwitches = "\\SoftWare\\VANTRO\\Discovel\\S";
inline constexpr std::string_view kKeyPlacement = "\\SoftWare\\VANTRO\\Discovel\\S\\wp";

// Under kKeyState.
inline constexpr std::string_view kProgramLocation = "ProgramLocation";
inline constexpr std::string_view kDefaultDeviceDrive = "DefaultDeviceDrive";
inline constexpr std::string_view kHostageFile = "HostageFile";
inline constexpr std::string_view kLastArchiveNumber = "LastArchiveNumber";
inline constexpr std::string_view kArchiveViewStyle = "frmArchive_ViewStyle";

// Switches under kKeySwitches: "T" while away from the default.
inline constexpr std::string_view kPromptOnExit = "PromptOnExit";
inline constexpr std::string_view kStartUpRunMinimized = "StartUpRunMinimized";
inline constexpr std::string_view kShowTrayIconOff = "Ssti";
inline constexpr std::string_view kShowInTaskBarOn = "Sitb";
inline constexpr std::string_view kMsgThanx = "MsgThanx";

// Window placement under kKeyPlacement: form name followed by one of these.
inline constexpr std::string_view kFormMain = "frmMain";
inline constexpr std::string_view kFormSearch = "frmSearch";
inline constexpr std::string_view kFormDuplicates = "frmDuplicates";
inline constexpr std::string_view kFormCheckResult = "frmCheckResult";
inline constexpr std::string_view kFormUpdate = "frmUpdate";
inline constexpr std::string_view kFormBrowse = "frmBrowse";
inline constexpr std::string_view kFormArchive = "frmArchive";
inline constexpr std::string_view kPlacementLeft = "-l";
inline constexpr std::string_view kPlacementTop = "-t";
inline constexpr std::string_view kPlacementWidth = "-w";
inline constexpr std::string_view kPlacementHeight = "-h";
inline constexpr std::string_view kPlacementMaximized = "-m";

// Start with Windows, under the current user.
inline constexpr std::string_view kKeyRun = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValue = kProgramName;
inline constexpr std::string_view kRunArgument = "tag";

// Machine-wide autoplay switches, relative to HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kKeyAudioCd = "Software\\Classes\\AudioCD\\";
inline constexpr std::string_view kKeyAudioCdShell = "Software\\Classes\\AudioCD\\Shell\\";
inline constexpr std::string_view kKeyExplorerPolicies =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
inline constexpr std::string_view kNoDriveTypeAutoRun = "NoDriveTypeAutoRun";
inline constexpr std::string_view kKeyCdRomService = "SYSTEM\\CurrentControlSet\\Services\\CDRom";
inline constexpr std::string_view kCdRomAutorun = "Autorun";
// What the autoplay switches held before the program changed them, under the
// current user, so that a start after a crash can put them back. Relative to
// HKEY_CURRENT_USER.
inline constexpr std::string_view kKeyAutoplayOriginals = "SoftWare\\VANTRO\\Discovel\\V\\Autoplay";

}  // namespace discovel::names
