#include "drives/win32/AudioDisc.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace discovel {

bool IsAudioCdLabel(std::string_view label) { return label == "Audio CD" || label == "Audio-CD"; }

bool IsAudioDisc(char letter) {
  const wchar_t root[] = {static_cast<wchar_t>(static_cast<unsigned char>(letter)), L':', L'\\', L'\0'};
  // The error mode that keeps an empty drive quiet is set once at start-up.
  if (GetDriveTypeW(root) != DRIVE_CDROM) return false;

  // The largest label the system gives, with its NUL.
  wchar_t label[MAX_PATH + 1] = {};
  DWORD maxComponentLength = 0;
  DWORD fileSystemFlags = 0;
  if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, &maxComponentLength, &fileSystemFlags, nullptr,
                             0)) {
    label[0] = L'\0';
  }
  return IsAudioCdLabel(Utf8(label));
}

}  // namespace discovel
