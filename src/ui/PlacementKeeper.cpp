#include "ui/PlacementKeeper.h"

#include "settings/WindowPlacement.h"

namespace discovel {
namespace {

WindowBounds BoundsOf(const RECT& rect) {
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

void PlacementKeeper::Restore(HWND window) {
  RECT design{};
  GetWindowRect(window, &design);
  // The primary screen, as the reachability rules expect.
  const WindowPlacement placement =
      RestorePlacement(m_settings, m_form, design.right - design.left, design.bottom - design.top,
                       GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const WindowBounds& b = placement.bounds;
  SetWindowPos(window, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
  m_maximized = placement.maximized;
}

void PlacementKeeper::SaveMoving(HWND window, const RECT& proposed) {
  if (IsIconic(window) || IsZoomed(window)) return Save(window);
  SavePlacement(m_settings, m_form, BoundsOf(proposed), false);
}

void PlacementKeeper::Save(HWND window) {
  // A minimized window has no bounds worth keeping: the last normal ones stay.
  if (IsIconic(window)) return;
  RECT rect{};
  GetWindowRect(window, &rect);
  SavePlacement(m_settings, m_form, BoundsOf(rect), IsZoomed(window) != FALSE);
}

}  // namespace discovel
