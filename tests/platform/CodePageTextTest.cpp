#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace discovel {
namespace {

// The code page's conversions, as the native build and a Windows-1252 system
// (the core tests' one) give them.
class CodePageTextTest : public testing::Test {
 protected:
  const TextServices& text = SystemTextServices();
};

TEST_F(CodePageTextTest, TextThatFitsConvertsBothWaysExactly) {
  EXPECT_EQ(text.ToCodePageExactly("Café € Größe"), "Caf\xE9 \x80 Gr\xF6\xDF" "e");
  EXPECT_EQ(text.FromCodePage("Caf\xE9 \x80 Gr\xF6\xDF" "e"), "Café € Größe");
  EXPECT_EQ(text.ToCodePageExactly(""), "");
  // Windows leaves five bytes undefined and reads them as C1 controls.
  EXPECT_EQ(text.FromCodePage("\x81"), "\xC2\x81");
  EXPECT_EQ(text.ToCodePageExactly("\xC2\x81"), "\x81");
}

TEST_F(CodePageTextTest, TextThatDoesNotFitHasNoExactBytes) {
  EXPECT_EQ(text.ToCodePageExactly("Ā.txt"), std::nullopt);  // would be a look-alike
  EXPECT_EQ(text.ToCodePageExactly("東京"), std::nullopt);
  EXPECT_EQ(text.ToCodePageExactly("\xED\xA0\x80"), std::nullopt);  // a lone surrogate
  EXPECT_EQ(text.ToCodePageExactly("caf\xE9"), std::nullopt);       // no UTF-8
  EXPECT_EQ(text.ToCodePageAsAnsiFunctionsDo("東京.txt"), "??.txt");
  EXPECT_EQ(text.ToCodePageAsAnsiFunctionsDo("\U0001F600"), "??");
  EXPECT_EQ(text.ToCodePageAsAnsiFunctionsDo("Café"), "Caf\xE9");
}

}  // namespace
}  // namespace discovel
