#include "app/WebLinks.h"

#include <gtest/gtest.h>

#include "support/win32/RecordingShell.h"

namespace discovel {
namespace {

using Call = test::RecordingShell::Call;

TEST(WebLinksTest, EachMenuEntryOpensItsPage) {
  test::RecordingShell shell;
  for (WebLink link : {WebLink::ProgramHelp, WebLink::Faq, WebLink::HomePage, WebLink::CheckForUpdate,
                       WebLink::MoreProducts, WebLink::Newsletter, WebLink::SellProgram}) {
    OpenWebLink(link, shell);
  }
  EXPECT_EQ(shell.Calls(), (std::vector<Call>{{"(default)", "https://discovel.example.com/help/"},
                                               {"(default)", "https://discovel.example.com/faq/"},
                                               {"(default)", "https://discovel.example.com/"},
                                               {"(default)", "https://discovel.example.com/"},
                                               {"(default)", "https://discovel.example.com/products/"},
                                               {"(default)", "https://discovel.example.com/newsletter/"},
                                               {"(default)", "https://discovel.example.com/affiliates/"}}));
}

TEST(WebLinksTest, TellAFriendMailsTheHomePageToNoOneInParticular) {
  test::RecordingShell shell;
  OpenWebLink(WebLink::TellAFriend, shell);
  EXPECT_EQ(shell.Calls(),
            (std::vector<Call>{{"open", "mailto:?subject=Discovel...&Body=https://discovel.example.com/"}}));
}

}  // namespace
}  // namespace discovel
