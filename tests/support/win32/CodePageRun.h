#pragma once
// Tests that run once per code page: the harness starts them under Wine with
// the Unix locale of that code page (DISCOVEL_EXPECT_CODEPAGE names it), and
// they fail at once when Wine does not run it, or reads Linux file names in
// another encoding than UTF-8 (the locale is not installed): names on the test
// disc would then be garbled before the program sees them.
#include <gtest/gtest.h>

namespace discovel::test {

class CodePageRun : public ::testing::Test {
 protected:
  void SetUp() override;
};

}  // namespace discovel::test
