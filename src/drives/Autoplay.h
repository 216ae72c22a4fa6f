#pragma once
// The three machine-wide registry switches that keep Windows from starting a
// player or an autorun program when a disc goes in. Each one changes nothing
// when its key is missing or may not be written, and reports nothing.

namespace discovel {

// Default verb of HKLM Software\Classes\AudioCD\Shell: "" (off) or "play".
void SetAudioCdPlayVerb(bool enable);
// HKLM ...\policies\Explorer NoDriveTypeAutoRun: 181 (off) or no value.
void SetNoDriveTypeAutoRun(bool enable);
// HKLM SYSTEM\CurrentControlSet\Services\CDRom Autorun: "0" (off) or "1".
void SetCdRomAutorun(bool enable);

// The three switches off, in the order above.
void SuppressAutoplay();
// The three switches back to their fixed "on" values, in the same order.
void RestoreAutoplay();

}  // namespace discovel
