// The date picker and up-down wrappers on a real window, driven by mouse messages.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "support/win32/TestHostForm.h"
#include "support/win32/UiDriver.h"
#include "ui/DatePicker.h"
#include "ui/UpDown.h"

namespace discovel {
namespace {

void ClickAt(HWND control, int x, int y) {
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

RECT ClientRect(HWND control) {
  RECT rect{};
  GetClientRect(control, &rect);
  return rect;
}

// Windows draws the check box of a date picker; Wine makes it a child button.
void ClickCheckBox(HWND picker) {
  if (HWND box = FindWindowExW(picker, nullptr, WC_BUTTONW, nullptr)) {
    SendMessageW(box, BM_CLICK, 0, 0);
    return;
  }
  const RECT rect = ClientRect(picker);
  ClickAt(picker, 8, (rect.top + rect.bottom) / 2);
}

class DateAndUpDownTest : public testing::Test {
 protected:
  void SetUp() override { host.Create(); }
  test::TestHostForm host;
};

TEST_F(DateAndUpDownTest, TheDateCheckBoxReportsItsChanges) {
  DatePicker picker;
  picker.Create({.form = &host, .id = 201, .bounds = {10, 10, 160, 22}, .checkBox = true, .format = "dd.MM.yyyy"});
  const LocalTime date{2024, 2, 29};
  picker.SetDate(date);
  ASSERT_EQ(picker.Date(), date);
  std::vector<std::optional<LocalTime>> changes;
  picker.onChanged = [&](std::optional<LocalTime> changed) { changes.push_back(changed); };

  ClickCheckBox(picker.Handle());
  EXPECT_FALSE(picker.Checked());
  ClickCheckBox(picker.Handle());
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_FALSE(changes[0].has_value());
  ASSERT_TRUE(changes[1].has_value());
  EXPECT_EQ(changes[1]->day, 29);
  EXPECT_EQ(changes[1]->month, 2);
  // Cleared and ticked again from the program, the date comes back.
  picker.SetChecked(false);
  EXPECT_FALSE(picker.Date().has_value());
  picker.SetChecked(true);
  ASSERT_TRUE(picker.Date().has_value());
  EXPECT_EQ(picker.Date()->year, 2024);
}

TEST_F(DateAndUpDownTest, TheDropDownHandsOverTheCalendar) {
  DatePicker picker;
  picker.Create({.form = &host, .id = 202, .bounds = {10, 40, 160, 22}});
  HWND opened = nullptr;
  HWND closed = nullptr;
  picker.onDropDown = [&](HWND calendar) { opened = calendar; };
  picker.onCloseUp = [&](HWND calendar) { closed = calendar; };
  const RECT rect = ClientRect(picker.Handle());
  const int buttonX = rect.right - 5;
  const int middle = (rect.top + rect.bottom) / 2;
  ClickAt(picker.Handle(), buttonX, middle);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(test::ClassOf(opened), "SysMonthCal32");
  EXPECT_TRUE(IsWindowVisible(opened));
  ClickAt(picker.Handle(), buttonX, middle);
  EXPECT_EQ(closed, opened);
}

TEST_F(DateAndUpDownTest, TheArrowsStepThePositionUnlessTheEventRefuses) {
  UpDown upDown;
  upDown.Create({.form = &host, .id = 203, .editId = 204, .bounds = {10, 70, 80, 22}, .minimum = 1,
                 .maximum = 10, .position = 5});
  std::vector<std::pair<int, int>> seen;
  bool allow = true;
  upDown.onChanging = [&](int position, int delta) {
    seen.emplace_back(position, delta);
    return allow;
  };
  const RECT rect = ClientRect(upDown.Handle());
  const int x = rect.right / 2;
  ClickAt(upDown.Handle(), x, rect.bottom / 4);  // up
  EXPECT_EQ(upDown.Position(), 6);
  EXPECT_EQ(TextOf(upDown.Edit()), "6");
  allow = false;
  ClickAt(upDown.Handle(), x, rect.bottom * 3 / 4);  // down, refused
  EXPECT_EQ(upDown.Position(), 6);
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{5, 1}, {6, -1}}));
}

}  // namespace
}  // namespace discovel
