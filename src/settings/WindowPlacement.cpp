#include "settings/WindowPlacement.h"

#include <string>

#include "catalog/TextUtil.h"
#include "settings/SettingsNames.h"

namespace discovel {
namespace {

std::string ValueName(std::string_view form, std::string_view suffix) {
  return std::string(form) + std::string(suffix);
}

std::string Stored(Settings& settings, std::string_view form, std::string_view suffix) {
  return settings.ReadString(names::kKeyPlacement, ValueName(form, suffix));
}

// Sets `target` from the stored value when there is one; false when the
// value is no number.
bool ReadInto(Settings& settings, std::string_view form, std::string_view suffix, int& target) {
  const std::string text = Stored(settings, form, suffix);
  if (text.empty()) return true;
  const auto number = ParseInt32(text);
  if (!number) return false;
  target = *number;
  return true;
}

}  // namespace

void SavePlacement(Settings& settings, std::string_view form, const WindowBounds& bounds, bool maximized) {
  using namespace names;
  if (maximized) {
    settings.WriteString(kKeyPlacement, ValueName(form, kPlacementMaximized), "T");
    return;
  }
  settings.DeleteValue(kKeyPlacement, ValueName(form, kPlacementMaximized));
  settings.WriteString(kKeyPlacement, ValueName(form, kPlacementLeft), std::to_string(bounds.left));
  settings.WriteString(kKeyPlacement, ValueName(form, kPlacementTop), std::to_string(bounds.top));
  settings.WriteString(kKeyPlacement, ValueName(form, kPlacementWidth), std::to_string(bounds.width));
  settings.WriteString(kKeyPlacement, ValueName(form, kPlacementHeight), std::to_string(bounds.height));
}

WindowPlacement RestorePlacement(Settings& settings, std::string_view form, int designWidth, int designHeight,
                                 int screenWidth, int screenHeight) {
  using namespace names;
  WindowPlacement placement;
  WindowBounds& b = placement.bounds;
  b = {(screenWidth - designWidth) / 2, (screenHeight - designHeight) / 2, designWidth, designHeight};
  // The first value that is no number ends the reading; what was read stays.
  ReadInto(settings, form, kPlacementLeft, b.left) && ReadInto(settings, form, kPlacementTop, b.top) &&
      ReadInto(settings, form, kPlacementWidth, b.width) && ReadInto(settings, form, kPlacementHeight, b.height);
  placement.maximized = !Stored(settings, form, kPlacementMaximized).empty();
  if (b.left + b.width < 0) b.left = 0;
  if (b.top + b.height < 0) b.top = 0;
  if (screenWidth < b.left) b.left = 0;
  if (screenHeight < b.top) b.top = 0;
  return placement;
}

}  // namespace discovel
