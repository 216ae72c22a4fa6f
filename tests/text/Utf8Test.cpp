#include "text/Utf8.h"

#include <gtest/gtest.h>

#include "text/CaseFold.h"

namespace discovel {
namespace {

TEST(Utf8Test, NamesOfEveryPlaneComeBackExactly) {
  const std::u16string names[] = {u"readme.txt", u"Café Größe €", u"Привет", u"東京.txt", u"\U0001F600 song.mp3",
                                  u"a.", u"b "};
  for (const std::u16string& name : names) {
    const std::string utf8 = utf8::FromUtf16(name);
    EXPECT_TRUE(utf8::IsValid(utf8));
    EXPECT_EQ(utf8::ToUtf16(utf8), name);
  }
  EXPECT_EQ(utf8::FromUtf16(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(utf8::FromUtf16(u"Ж"), "\xD0\x96");
}

TEST(Utf8Test, ALoneSurrogateIsKeptAsItsOwnSequence) {
  const std::u16string lone = {u'a', char16_t(0xD800), u'b', char16_t(0xDC01)};
  const std::string utf8 = utf8::FromUtf16(lone);
  EXPECT_EQ(utf8, "a\xED\xA0\x80" "b\xED\xB0\x81");
  EXPECT_EQ(utf8::ToUtf16(utf8), lone);
  // A high surrogate followed by a low one read back is the pair again.
  const std::u16string pair = {char16_t(0xD83D), char16_t(0xDE00)};
  EXPECT_EQ(utf8::ToUtf16(utf8::FromUtf16(pair)), pair);
}

TEST(Utf8Test, BytesThatAreNoUtf8BecomeReplacementCharacters) {
  EXPECT_FALSE(utf8::IsValid("caf\xE9"));
  EXPECT_EQ(utf8::ToUtf16("caf\xE9"), u"caf\uFFFD");
  // Overlong forms, a truncated sequence, a code point past U+10FFFF.
  EXPECT_EQ(utf8::ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(utf8::ToUtf16("\xE6\x97"), u"\uFFFD\uFFFD");
  EXPECT_EQ(utf8::ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_TRUE(utf8::IsValid("\xEF\xBF\xBD"));  // U+FFFD itself
  EXPECT_TRUE(utf8::IsAscii("plain.txt"));
  EXPECT_FALSE(utf8::IsAscii("Caf\xC3\xA9"));
}

TEST(CaseFoldTest, FoldsLettersOfEveryScriptTheSameWay) {
  EXPECT_EQ(casefold::Fold("README.TXT"), "readme.txt");
  EXPECT_EQ(casefold::Fold("ÄÖÜ ÀÉ"), "äöü àé");
  EXPECT_EQ(casefold::Fold("ΣΊΣΥΦΟΣ"), casefold::Fold("σίσυφος"));  // final sigma too
  EXPECT_EQ(casefold::Fold("ПРИВЕТ Ёлка"), "привет ёлка");
  EXPECT_TRUE(casefold::EqualFolded("Straße", "STRAßE"));
  EXPECT_EQ(casefold::Fold("東京 \U0001F600"), "東京 \U0001F600");
  // Simple folding only: one code point each, the text keeps its length in
  // code points ("ß" stays, "ẞ" becomes "ß").
  EXPECT_EQ(casefold::Fold("ẞ"), "ß");
  EXPECT_EQ(casefold::Fold("caf\xE9"), "caf\xE9");  // no UTF-8: kept
}

}  // namespace
}  // namespace discovel
