#include "ui/Menus.h"

#include <string>
#include <string_view>

#include "platform/AppError.h"
#include "platform/win32/WideText.h"
#include "ui/Action.h"

namespace discovel {
namespace {

void AppendItems(HMENU menu, const std::vector<MenuItem>& items, const CommandTable& commands) {
  for (MenuItem item : items) {
    if (item.command != 0) {
      item.action = commands.ForCommand(item.command);
      if (!item.action) throw AppError("A menu item names command " + std::to_string(item.command) + ", which is none.");
    }
    if (item.caption && std::string_view(item.caption) == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_ID;
    info.fType = (item.flags & MenuItem::kRadio) ? MFT_RADIOCHECK : MFT_STRING;
    const char* caption = item.caption ? item.caption : item.action ? item.action->Caption().c_str() : "";
    std::wstring wideCaption = Wide(caption);
    info.dwTypeData = wideCaption.data();
    if (item.flags & MenuItem::kChecked) {
      info.fMask |= MIIM_STATE;
      info.fState = MFS_CHECKED;
    }
    if (!item.items.empty()) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = BuildMenu(item.items, commands).release();
    }
    if (item.action) {
      info.wID = commands.IdOf(*item.action);
      if (info.wID == 0) throw AppError(std::string("The menu item \"") + caption + "\" has no command.");
    }
    const UINT position = static_cast<UINT>(GetMenuItemCount(menu));
    InsertMenuItemW(menu, position, TRUE, &info);
    if (item.flags & MenuItem::kDefault) SetMenuDefaultItem(menu, position, TRUE);
    if (item.action) item.action->BindMenuItem(menu, info.wID);
  }
}

}  // namespace

MenuHandle BuildMenu(const std::vector<MenuItem>& items, const CommandTable& commands, bool bar) {
  MenuHandle menu(bar ? CreateMenu() : CreatePopupMenu());
  if (!menu) throw AppError("Cannot create a menu.");
  AppendItems(menu.get(), items, commands);
  return menu;
}

}  // namespace discovel
