// The code page's conversions against what the system itself does with a
// name: an archive of an earlier version holds each name as FindFirstFileA
// gave it, and the program must make the same bytes of a name to know it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "support/TestDrive.h"
#include "support/win32/CodePageRun.h"

namespace discovel {
namespace {

class CodePageAnsiNamesTest : public test::CodePageRun {};

std::vector<std::wstring> WideNames(const std::wstring& pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (std::wstring(data.cFileName) != L"." && std::wstring(data.cFileName) != L"..") names.push_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

std::vector<std::string> AnsiNames(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (std::string(data.cFileName) != "." && std::string(data.cFileName) != "..") names.push_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

TEST_F(CodePageAnsiNamesTest, LookAlikesAreTheBytesFindFirstFileAGives) {
  const char* names[] = {"plain.txt", "Café Größe €.txt", "Ā macron.txt", "Ω omega.txt", "Привет.txt",
                         "Ελληνικά.txt", "東京.txt", "表", "ソフト.doc", "\U0001F600 song.mp3",
                         "ſ long s.txt", "Œuvre ½.txt", "ﬁ ligature.txt", "Ｆｕｌｌ.txt", "a.", "b "};
  test::TestDrive drive;
  drive.InsertEmptyDisc();
  for (const char* name : names) drive.AddFile(name, "x");
  const std::vector<std::wstring> wide = WideNames(L"D:\\*");
  const std::vector<std::string> ansi = AnsiNames("D:\\*");
  ASSERT_EQ(wide.size(), std::size(names));
  ASSERT_EQ(ansi.size(), wide.size());  // both listings in the same order
  const TextServices& text = SystemTextServices();
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const std::string name = Utf8(wide[i]);
    SCOPED_TRACE(name);
    EXPECT_EQ(text.ToCodePageAsAnsiFunctionsDo(name), ansi[i]);
    // An exact conversion is the system's own bytes, read back as the name.
    if (const std::optional<std::string> exact = text.ToCodePageExactly(name)) {
      EXPECT_EQ(*exact, ansi[i]);
      EXPECT_EQ(text.FromCodePage(*exact), name);
    } else {
      EXPECT_NE(text.FromCodePage(ansi[i]), name);
    }
  }
}

}  // namespace
}  // namespace discovel
