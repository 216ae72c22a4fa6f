#include "drives/win32/MciSend.h"

#include <utility>

namespace discovel {
namespace {

MciSender& Route() {
  static MciSender route;  // empty: the system's entry point
  return route;
}

}  // namespace

MCIERROR MciSend(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
  const MciSender& route = Route();
  if (route) return route(device, message, flags, parameters);
  return mciSendCommandW(device, message, flags, parameters);
}

ScopedMciSender::ScopedMciSender(MciSender sender) : m_previous(std::exchange(Route(), std::move(sender))) {}

ScopedMciSender::~ScopedMciSender() { Route() = std::move(m_previous); }

}  // namespace discovel
