#pragma once
// Ejects and closes the tray of a CD/DVD drive. Fire-and-forget: a drive that
// cannot be opened as a CD audio device is left alone and nothing is reported.

namespace discovel {

// The letter goes to the platform as it is: no case change, no drive check.
void OpenCdTray(char letter);
void CloseCdTray(char letter);

}  // namespace discovel
