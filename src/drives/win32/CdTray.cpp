#include "drives/win32/CdTray.h"

#include "drives/win32/MciSend.h"
#include "platform/ScopeExit.h"

namespace discovel {
namespace {

// The open and the close carry the same flag word and block.
constexpr DWORD_PTR kOpenFlags = MCI_OPEN_TYPE | MCI_OPEN_ELEMENT;

// Opens the drive as CD audio for exactly one door command.
void SendDoorCommand(char letter, DWORD_PTR doorFlag) {
  const wchar_t element[] = {static_cast<wchar_t>(static_cast<unsigned char>(letter)), L':', L'\0'};
  MCI_OPEN_PARMSW open{};
  open.dwCallback = 0;
  open.lpstrDeviceType = L"CDAudio";
  open.lpstrElementName = element;
  const auto block = reinterpret_cast<DWORD_PTR>(&open);
  if (MciSend(0, MCI_OPEN, kOpenFlags, block) != 0) return;

  const MCIDEVICEID device = open.wDeviceID;
  const ScopeExit close([&] { MciSend(device, MCI_CLOSE, kOpenFlags, block); });
  // The answer is ignored: a drive that refuses the door is still closed.
  // No parameter block: neither MCI_WAIT nor MCI_NOTIFY is wanted.
  MciSend(device, MCI_SET, doorFlag, 0);
}

}  // namespace

void OpenCdTray(char letter) { SendDoorCommand(letter, MCI_SET_DOOR_OPEN); }

void CloseCdTray(char letter) { SendDoorCommand(letter, MCI_SET_DOOR_CLOSED); }

}  // namespace discovel
