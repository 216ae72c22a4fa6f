#include "app/WebLinks.h"

#include <gtest/gtest.h>

#include "support/win32/RecordingShell.h"

namespace discovel {
namespace {

TEST(WebLinksTest, EachMenuEntryOpensItsPageAndTellAFriendMailsTheHomePage) {
  test::RecordingShell shell;
  for (WebLink link : {WebLink::ProgramHelp, WebLink::Faq, WebLink::HomePage, WebLink::CheckForUpdate,
                       WebLink::MoreProducts, WebLink::Newsletter, WebLink::SellProgram, WebLink::TellAFriend}) {
    OpenWebLink(link, shell);
  }
  const std::string site = "https://discovel.example.com/";
  using Call = test::RecordingShell::Call;
  EXPECT_EQ(shell.Calls(), (std::vector<Call>{{"(default)", site + "help/"},
                                               {"(default)", site + "faq/"},
                                               {"(default)", site},
                                               {"(default)", site},
                                               {"(default)", site + "products/"},
                                               {"(default)", site + "newsletter/"},
                                               {"(default)", site + "affiliates/"},
                                               {"open", "mailto:?subject=Discovel...&Body=" + site}}));
}

}  // namespace
}  // namespace discovel
