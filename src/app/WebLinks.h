#pragma once
// The web entries of the main window's Help and More menus.
#include "app/ShellLauncher.h"

namespace discovel {

enum class WebLink {
  ProgramHelp,     // Help > "Program Help"
  Faq,             // Help > "FAQ"
  HomePage,        // Help > "Home Page"
  CheckForUpdate,  // Help > "Check for Update"
  MoreProducts,    // More > "Get More Vantro Products"
  Newsletter,      // More > "Get Newsletter"
  SellProgram,     // More > "Sell this Program and Earn Money"
  TellAFriend,     // More > "Tell a Friend (Send e-mail)"
};

// Opens the page of `link`, or for TellAFriend starts an e-mail with the home
// page address in its body.
void OpenWebLink(WebLink link, ShellLauncher& shell = SystemShell());

}  // namespace discovel
