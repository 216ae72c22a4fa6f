#include "app/core/MailLink.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

TEST(MailLinkTest, EmptySubjectAndBodyKeepTheirKeys) {
  EXPECT_EQ(ComposeMailLink("support@x.example", "", ""), "mailto:support@x.example?subject=&Body=");
}

TEST(MailLinkTest, NoAddressLeavesTheSubjectRightAfterTheScheme) {
  EXPECT_EQ(ComposeMailLink("", "Discovel...", "https://a.example/"),
            "mailto:?subject=Discovel...&Body=https://a.example/");
}

TEST(MailLinkTest, BlanksAmpersandsAndQuestionMarksPassUnescaped) {
  EXPECT_EQ(ComposeMailLink("a b@x", "Q & A?", "1+1=2 & more?"), "mailto:a b@x?subject=Q & A?&Body=1+1=2 & more?");
}

}  // namespace
}  // namespace discovel
