// What the system says in words, under each code page: UTF-8 like the rest
// of the program's text (a Russian locale groups digits with a no-break space).
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/win32/Win32Error.h"
#include "support/win32/CodePageRun.h"
#include "text/Utf8.h"

namespace discovel {
namespace {

class CodePageLocaleTextTest : public test::CodePageRun {};

TEST_F(CodePageLocaleTextTest, TheLocalesSeparatorsAreUtf8) {
  const std::string thousands = SystemTextServices().ThousandsSeparator();
  EXPECT_FALSE(thousands.empty());
  EXPECT_TRUE(utf8::IsValid(thousands)) << thousands;
}

TEST_F(CodePageLocaleTextTest, TheSystemsErrorTextsAreUtf8) {
  for (const DWORD code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_NOT_READY, ERROR_CRC}) {
    const std::string message = SystemErrorText(code);
    EXPECT_FALSE(message.empty());
    EXPECT_TRUE(utf8::IsValid(message)) << code << ": " << message;
  }
}

}  // namespace
}  // namespace discovel
