#include "drives/AudioDisc.h"

#include <windows.h>

namespace discovel {

bool IsAudioCdLabel(const char* label) {
  return lstrcmpA(label, "Audio CD") == 0 || lstrcmpA(label, "Audio-CD") == 0;
}

bool IsAudioDisc(char letter) {
  const char root[] = {letter, ':', '\\', '\0'};
  // No "insert a disk" box for an empty removable drive; only this query.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  const UINT type = GetDriveTypeA(root);
  SetErrorMode(previousMode);
  if (type != DRIVE_CDROM) return false;

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
