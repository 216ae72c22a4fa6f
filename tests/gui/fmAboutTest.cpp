// The About box with real windows; its links go to a recording shell, so no
// browser or mail program starts.
#include "app/fmAbout.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

#include "app/fmAboutIds.h"
#include "platform/Platform.h"
#include "settings/win32/SettingsStore.h"
#include "support/win32/RecordingShell.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmAboutIds;
using test::ControlText;
using test::RecordingShell;
using test::Script;
using test::WaitForWindow;
using test::WaitUntil;

void ClickLabel(HWND dialog, int id) {
  HWND label = GetDlgItem(dialog, id);
  PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

bool Underlined(HWND control) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfUnderline != 0;
}

class AboutTest : public testing::Test {
 protected:
  AppContext context{SystemFileSystem(), ProgramSettings(), SystemTextServices()};
  RecordingShell shell;
};

TEST_F(AboutTest, ShowsVersionAndAddressesAndEachLinkGoesToTheShell) {
  std::string version;
  std::string home;
  std::string mail;
  std::string newsletter;
  std::string load;
  bool linksUnderlined = false;
  Script script([&] {
    HWND box = WaitForWindow(kClassName);
    version = test::WaitForControlText(box, kLblVersion, "Discovel");
    home = ControlText(box, kLblHomePage);
    mail = ControlText(box, kLblSupportMail);
    newsletter = ControlText(box, kLblNewsletter);
    load = ControlText(box, kLblResources);
    linksUnderlined = Underlined(GetDlgItem(box, kLblHomePage)) && Underlined(GetDlgItem(box, kLblNewsletter));
    // One at a time: each link lets pending messages through before the shell.
    std::size_t expected = 0;
    for (int id : {kLblHomePage, kLblSupportMail, kLblNewsletter}) {
      ClickLabel(box, id);
      ++expected;
      WaitUntil([&] { return shell.Calls().size() >= expected; }, std::chrono::seconds(5));
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
  EXPECT_TRUE(std::regex_match(load, std::regex("\\d{1,3} %"))) << load;
  EXPECT_TRUE(linksUnderlined);
  using Call = RecordingShell::Call;
  EXPECT_EQ(shell.Calls(), (std::vector<Call>{{"(default)", "https://discovel.example.com/"},
                                               {"open", "mailto:support@discovel.example.com?subject=&Body="},
                                               {"(default)", "https://discovel.example.com/newsletter/"}}));
}

// Also run under a German locale, which groups with ".".
TEST(LocaleAboutTest, MemoryIsGroupedWithTheUsersSeparator) {
  AppContext context{SystemFileSystem(), ProgramSettings(), SystemTextServices()};
  RecordingShell shell;
  char separator[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator);
  std::string memory;
  Script script([&] {
    HWND box = WaitForWindow(kClassName);
    WaitUntil([&] { return (memory = ControlText(box, kLblMemory)).size() > 3; }, std::chrono::seconds(5));
    test::PressKey(box, VK_ESCAPE);
  });
  EXPECT_EQ(TfrmAbout::Execute(context, shell), kModalCancel);
  script.Join();
  // At least a gigabyte: a million KB and more, in groups of three.
  const std::string group = std::string("\\") + separator + "\\d{3}";
  EXPECT_TRUE(std::regex_match(memory, std::regex("\\d{1,3}(" + group + "){2,} KB"))) << memory;
  EXPECT_TRUE(shell.Calls().empty());
}

// A second opener, run from a timer of the test's own thread while the box is open.
AppContext* g_context = nullptr;
RecordingShell* g_shell = nullptr;
int g_secondResult = -1;
void CALLBACK OpenSecondAbout(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_secondResult = TfrmAbout::Execute(*g_context, *g_shell);
}

TEST_F(AboutTest, OpeningItAgainClosesTheOpenBox) {
  g_context = &context;
  g_shell = &shell;
  g_secondResult = -1;
  bool closedBySecond = false;
  Script script([&] {
    HWND box = WaitForWindow(kClassName);
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
