#include "support/win32/CodePageRun.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace discovel::test {
namespace {

// The Unix path Wine makes of a Windows path, in the Unix locale's encoding.
std::string UnixPathOf(const wchar_t* path) {
  using ToUnix = char*(__cdecl*)(const wchar_t*);
  const auto toUnix =
      reinterpret_cast<ToUnix>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* unix = toUnix(path);
  if (!unix) return {};
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

}  // namespace

void RequireTheCodePageRun() {
  const char* expected = std::getenv("DISCOVEL_EXPECT_CODEPAGE");
  if (!expected) GTEST_SKIP() << "runs in the harness's code-page runs only";
  const char* locale = std::getenv("LC_ALL");
  ASSERT_EQ(std::to_string(GetACP()), expected)
      << "Wine does not run the code page this run asked for (LC_ALL=" << (locale ? locale : "") << ")";
  ASSERT_EQ(UnixPathOf(L"Z:\\tmp\\\x0416\x65e5"), "/tmp/\xd0\x96\xe6\x97\xa5")
      << "Wine does not read Linux file names as UTF-8: the locale LC_ALL=" << (locale ? locale : "")
      << " is not installed (./test installs it)";
}

}  // namespace discovel::test
