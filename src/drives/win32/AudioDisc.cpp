#include "drives/win32/AudioDisc.h"

#include <windows.h>

namespace discovel {

bool IsAudioCdLabel(const char* label) {
  return lstrcmpA(label, "Audio CD") == 0 || lstrcmpA(label, "Audio-CD") == 0;
}

bool IsAudioDisc(char letter) {
  const char root[] = {letter, ':', '\\', '\0'};
  // The error mode that keeps an empty drive quiet is set once at start-up.
  if (GetDriveTypeA(root) != DRIVE_CDROM) return false;

  char label[64] = {};
  DWORD maxComponentLength = 0;
  DWORD fileSystemFlags = 0;
  if (!GetVolumeInformationA(root, label, sizeof label, nullptr, &maxComponentLength, &fileSystemFlags, nullptr,
                             0)) {
    label[0] = '\0';
  }
  return IsAudioCdLabel(label);
}

}  // namespace discovel
