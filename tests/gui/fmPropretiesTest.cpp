// The file properties dialog with real windows: texts as given, the sideways
// scroll of a long path, and the ways it closes.
#include "search/fmPropreties.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ModalResult.h"
#include "search/fmPropretiesIds.h"
#include "support/win32/LayoutCheck.h"
#include "support/win32/UiDriver.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

using namespace fmPropretiesIds;
using test::Script;
using test::WaitForWindow;

struct Seen {
  std::string size, type, dir;
  bool scrollBar = false;
  int range = 0;
  int lineWidth = 0;
};

// Opens the dialog, reads what it shows and closes it with `closeKey`
// (0: the Close button).
Seen Show(const PropretiesValues& values, UINT closeKey, int& result) {
  Seen seen;
  Script script([&] {
    HWND dialog = WaitForWindow(kClassName);
    ASSERT_NE(dialog, nullptr);
    HWND box = GetDlgItem(dialog, kScrollBox1);
    seen.size = test::ControlText(box, kLblSize);
    seen.type = test::ControlText(box, kLblType);
    seen.dir = test::ControlText(box, kLblDir);
    seen.scrollBar = (GetWindowLongW(box, GWL_STYLE) & WS_HSCROLL) != 0;
    SCROLLINFO info{sizeof info, SIF_RANGE};
    GetScrollInfo(box, SB_HORZ, &info);
    seen.range = info.nMax + 1;
    RECT line{};
    GetWindowRect(GetDlgItem(box, kL2), &line);
    seen.lineWidth = line.right - line.left;
    if (closeKey) {
      test::PressKey(dialog, closeKey);
    } else {
      test::Click(dialog, kBtnCancel);
    }
  });
  result = TfrmPropreties::Execute(values);
  return seen;
}

TEST(PropretiesTest, ShortTextsFitAndEnterCloses) {
  int result = 0;
  const Seen seen = Show({"CD 1", "\\", "setup", "", "15/03/2006", "0"}, VK_RETURN, result);
  EXPECT_EQ(result, kModalCancel);
  EXPECT_EQ(seen.dir, "\\      ");
  EXPECT_EQ(seen.type, "");
  EXPECT_EQ(seen.size, "0 bytes");
  EXPECT_FALSE(seen.scrollBar);
  EXPECT_EQ(seen.lineWidth, 8 + 320 - 15);
}

TEST(PropretiesTest, ALongPathScrollsAndTheLinesReachAlmostToItsEnd) {
  int result = 0;
  const std::string folder = "Very long folder name\\" + std::string(80, 'W');
  const Seen seen = Show({"CD 1", folder, "a.txt", "txt", "15/03/2006 14:30:20", "1,234,567"}, VK_ESCAPE, result);
  EXPECT_EQ(result, kModalCancel);
  EXPECT_EQ(seen.size, "1,234,567 bytes");
  EXPECT_TRUE(seen.scrollBar);
  EXPECT_GT(seen.range, 336);
  EXPECT_EQ(seen.lineWidth, seen.range - 15);

  const Seen again = Show({"CD 1", "\\", "a", "", "", "1"}, 0, result);
  EXPECT_EQ(result, kModalCancel);
  EXPECT_EQ(again.size, "1 bytes");
}

TEST(PropretiesTest, OnAScreenOfAnotherScaleTheLabelsAndLinesTakeItsSizes) {
  Script script([&] {
    HWND dialog = WaitForWindow(kClassName);
    ASSERT_NE(dialog, nullptr);
    HWND box = GetDlgItem(dialog, kScrollBox1);
    RECT r{};
    GetWindowRect(dialog, &r);
    const UINT dpi = test::SweepDpi() * 2;
    RECT suggested{r.left, r.top, r.left + (r.right - r.left) * 2, r.top + (r.bottom - r.top) * 2};
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_THAT(test::LayoutFaults(box), testing::IsEmpty());
    EXPECT_EQ(test::FontHeight(GetDlgItem(box, kLblDate)), ScaleToDpi(11, dpi));
    RECT date{};
    GetWindowRect(GetDlgItem(box, kLblDate), &date);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&date), 2);
    EXPECT_EQ(date.left, ScaleToDpi(112, dpi));
    EXPECT_EQ(date.top, ScaleToDpi(220, dpi));
    RECT line{};
    GetWindowRect(GetDlgItem(box, kL3), &line);
    EXPECT_NEAR(line.right - line.left, ScaleToDpi(8 + 320 - 15, dpi), 1);
    test::PressKey(dialog, VK_ESCAPE);
  });
  EXPECT_EQ(TfrmPropreties::Execute({"CD 1", "Docs", "notes.txt", "txt", "15/03/2006 14:30:20", "999"}),
            kModalCancel);
}

}  // namespace
}  // namespace discovel
