#pragma once
// The one MCI entry point of the tray commands, replaceable so that tests can
// record and answer the exact commands sent.
#include <windows.h>
#include <mmsystem.h>

#include <functional>

namespace discovel {

using MciSender = std::function<MCIERROR(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters)>;

// mciSendCommandW, unless a ScopedMciSender is in place: text in the
// parameter blocks is UTF-16 (MCI_OPEN_PARMSW).
MCIERROR MciSend(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters);

// Routes MciSend to `sender` while it lives; restores the previous route after.
class ScopedMciSender {
 public:
  explicit ScopedMciSender(MciSender sender);
  ~ScopedMciSender();
  ScopedMciSender(const ScopedMciSender&) = delete;
  ScopedMciSender& operator=(const ScopedMciSender&) = delete;

 private:
  MciSender m_previous;
};

}  // namespace discovel
