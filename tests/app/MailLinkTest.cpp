#include "app/core/MailLink.h"

#include <gtest/gtest.h>

namespace discovel {
namespace {

TEST(MailLinkTest, EmptyPartsKeepTheirKeysAndNothingIsEscaped) {
  EXPECT_EQ(ComposeMailLink("support@x.example", "", ""), "mailto:support@x.example?subject=&Body=");
  EXPECT_EQ(ComposeMailLink("", "Q & A?", "1+1=2 & more?"), "mailto:?subject=Q & A?&Body=1+1=2 & more?");
}

}  // namespace
}  // namespace discovel
