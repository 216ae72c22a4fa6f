#pragma once
// The two ways into a disc check: the main window's, for whatever disc is in
// the drive, and the catalogue's, for the disc of a chosen archive. Each runs
// the check in its progress window and shows what it found.
#include <windows.h>

#include <functional>

#include "check/CheckSession.h"
#include "platform/AppContext.h"

namespace discovel {

// Waits for a disc in the read device, finds its archive and checks the disc.
void CheckDiscInDrive(AppContext& context, HWND owner);

// Checks the disc of `target` in the read device, asking for it by its mark
// when the drive holds no disc. A check that ran to its end may have changed
// the archive: `checked` runs then, before the result is shown.
void CheckCataloguedDisc(AppContext& context, HWND owner, const CheckTarget& target,
                         const std::function<void()>& checked);

}  // namespace discovel
