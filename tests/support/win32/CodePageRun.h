#pragma once
// Tests that run once per code page: the harness starts them under Wine with
// the Unix locale of that code page (DISCOVEL_EXPECT_CODEPAGE names it), and
// they fail at once when Wine does not run it, or reads Linux file names in
// another encoding than UTF-8 (the locale is not installed): names on the test
// disc would then be garbled before the program sees them.
#include <gtest/gtest.h>

namespace discovel::test {

// Skips the test outside the harness's code-page runs and fails it (fatally)
// when the run is not the code page it asked for: for a fixture's SetUp,
// which stops when the test is then skipped or failed.
void RequireTheCodePageRun();

class CodePageRun : public ::testing::Test {
 protected:
  void SetUp() override { RequireTheCodePageRun(); }
};

}  // namespace discovel::test
