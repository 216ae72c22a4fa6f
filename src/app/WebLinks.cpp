#include "app/WebLinks.h"

#include "app/WebAddresses.h"

namespace discovel {

void OpenWebLink(WebLink link, ShellLauncher& shell) {
  switch (link) {
    case WebLink::ProgramHelp:
      return OpenDocument(nullptr, web::kHelpPage, shell);
    case WebLink::Faq:
      return OpenDocument(nullptr, web::kFaqPage, shell);
    case WebLink::HomePage:
    case WebLink::CheckForUpdate:  // updates are announced on the home page
      return OpenDocument(nullptr, web::kHomePage, shell);
    case WebLink::MoreProducts:
      return OpenDocument(nullptr, web::kProductsPage, shell);
    case WebLink::Newsletter:
      return OpenDocument(nullptr, web::kNewsletterPage, shell);
    case WebLink::SellProgram:
      return OpenDocument(nullptr, web::kAffiliatePage, shell);
    case WebLink::TellAFriend:
      return SendMail(nullptr, "", "Discovel...", web::kHomePage, shell);
  }
}

}  // namespace discovel
