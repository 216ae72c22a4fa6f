#pragma once
// The three machine-wide registry switches that keep Windows from starting a
// player or an autorun program when a disc goes in. Each one changes nothing
// when its key is missing or may not be written, and reports nothing.
//
// Switching one off first records what the value held (its type and data, or
// that it did not exist) under the current user; switching it on puts exactly
// that back and forgets the record. So a value an administrator or a policy
// set survives, and a start after a crash can set things right by switching
// them on.

namespace discovel {

// Default verb of HKLM Software\Classes\AudioCD\Shell: "" (off).
void SetAudioCdPlayVerb(bool enable);
// HKLM ...\policies\Explorer NoDriveTypeAutoRun: the bits of 181 added (off).
void SetNoDriveTypeAutoRun(bool enable);
// HKLM SYSTEM\CurrentControlSet\Services\CDRom Autorun: 0 (off), as a string
// unless it was a number.
void SetCdRomAutorun(bool enable);

// The three switches off, in the order above.
void SuppressAutoplay();
// The three switches back to what they held, in the same order.
void RestoreAutoplay();

}  // namespace discovel
