// The About box with real windows; its links go to a recording shell, so no
// browser or mail program starts.
#include "app/fmAbout.h"

#include <gtest/gtest.h>

#include <iterator>
#include <regex>

#include "app/fmAboutIds.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "settings/win32/SettingsStore.h"
#include "support/win32/RecordingShell.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmAboutIds;
using test::ControlText;

class AboutTest : public testing::Test {
 public:
  AppContext context{{SystemFileSystem(), ProgramSettings(), SystemTextServices()}};
  test::RecordingShell shell;
};
// Also run under a German locale, which groups with ".".
using LocaleAboutTest = AboutTest;

TEST_F(LocaleAboutTest, ShowsVersionAddressesAndMemoryAndEachLinkGoesToTheShell) {
  std::string version, home, mail, newsletter, memory, load;
  test::Script script([&] {
    HWND box = test::WaitForWindow(kClassName);
    version = test::WaitForControlText(box, kLblVersion, "Discovel");
    home = ControlText(box, kLblHomePage);
    mail = ControlText(box, kLblSupportMail);
    newsletter = ControlText(box, kLblNewsletter);
    memory = ControlText(box, kLblMemory);
    load = ControlText(box, kLblResources);
    // One at a time: each link lets pending messages through before the shell.
    std::size_t clicked = 0;
    for (int id : {kLblHomePage, kLblSupportMail, kLblNewsletter}) {
      PostMessageW(GetDlgItem(box, id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      PostMessageW(GetDlgItem(box, id), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      ++clicked;
      test::WaitUntil([&] { return shell.Calls().size() >= clicked; }, std::chrono::seconds(5));
    }
    test::PressKey(GetDlgItem(box, kBtnCancel), VK_RETURN);  // Enter closes on its press
  });
  EXPECT_EQ(TfrmAbout::Execute(context, shell), kModalCancel);
  script.Join();
  EXPECT_TRUE(std::regex_match(version, std::regex("Discovel v\\d+\\.\\d+\\.\\d+\\.\\d+\r\n"
                                                   "Copyright \\(C\\) 2005-20\\d\\d Discovel developers\r\n"
                                                   "https://discovel\\.example\\.com/")))
      << version;
  EXPECT_EQ(home, "https://discovel.example.com/");
  EXPECT_EQ(mail, "support@discovel.example.com");
  EXPECT_EQ(newsletter, "https://discovel.example.com/newsletter/");
  // At least a gigabyte: a million KB and more, grouped by the user's locale.
  wchar_t separator[8] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, static_cast<int>(std::size(separator)));
  // An ASCII separator is escaped; one of more bytes (a no-break space) is its bytes.
  std::string grouping = Utf8(separator);
  if (grouping.size() == 1) grouping.insert(0, "\\");
  EXPECT_TRUE(std::regex_match(memory, std::regex("\\d{1,3}(" + grouping + "\\d{3}){2,} KB"))) << memory;
  EXPECT_TRUE(std::regex_match(load, std::regex("\\d{1,3} %"))) << load;
  // The whole memory, also above the 2 GB that a 32-bit program's plain query reports.
  MEMORYSTATUSEX status{sizeof status};
  GlobalMemoryStatusEx(&status);
  std::string digits;
  for (char c : memory) {
    if (c >= '0' && c <= '9') digits += c;
  }
  EXPECT_EQ(digits, std::to_string(status.ullTotalPhys / 1024));
  using Call = test::RecordingShell::Call;
  EXPECT_EQ(shell.Calls(), (std::vector<Call>{{"(default)", "https://discovel.example.com/"},
                                               {"open", "mailto:support@discovel.example.com?subject=&Body="},
                                               {"(default)", "https://discovel.example.com/newsletter/"}}));
}

// A second opener, run from a timer of the test's own thread while the box is open.
AboutTest* g_test = nullptr;
int g_secondResult = -1;
void CALLBACK OpenSecondAbout(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_secondResult = TfrmAbout::Execute(g_test->context, g_test->shell);
}

TEST_F(AboutTest, OpeningItAgainClosesTheOpenBox) {
  g_test = this;
  bool closedBySecond = false;
  test::Script script([&] {
    HWND box = test::WaitForWindow(kClassName);
    closedBySecond = box && test::WaitForWindowGone(box, std::chrono::seconds(5));
    if (box && !closedBySecond) test::PressKey(box, VK_ESCAPE);
  });
  SetTimer(nullptr, 0, 300, OpenSecondAbout);
  EXPECT_EQ(TfrmAbout::Execute(context, shell), kModalCancel);
  script.Join();
  EXPECT_TRUE(closedBySecond);
  EXPECT_EQ(g_secondResult, kModalCancel);
}

}  // namespace
}  // namespace discovel
