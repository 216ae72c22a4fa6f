#include "search/win32/FileHandover.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/win32/Clipboard.h"

namespace discovel {
namespace {

TEST(FileHandoverTest, APathOfAnyScriptReachesTheClipboardWhole) {
  // The clipboard's owner: a window, as Windows wants for the data to stay.
  HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  test::EmptyTheClipboard();
  const std::string path = "D:\\東京\\Привет \U0001F600 Ā.txt";
  EXPECT_TRUE(PutFileOnClipboard(owner, path));
  EXPECT_EQ(test::ClipboardFiles(), std::vector<std::string>{path});
  test::EmptyTheClipboard();
  DestroyWindow(owner);
}

}  // namespace
}  // namespace discovel
