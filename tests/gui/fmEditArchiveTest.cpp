// The archive editing dialog with real windows over a small catalogue.
#include "browser/fmEditArchive.h"

#include <gtest/gtest.h>

#include "browser/fmEditArchiveIds.h"
#include "support/ArchiveBuilder.h"
#include "support/win32/GuiFixture.h"
#include "support/win32/UiDriver.h"

namespace discovel {
namespace {

using namespace fmEditArchiveIds;
using test::AnswerMessageBox;
using test::Click;
using test::Script;
using test::WaitForWindow;

class EditArchiveTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    if (IsSkipped()) return;
    test::ArchiveBuilder("CD 1", 1).Entry("\\", "a").WriteTo(catalog, "1.dat");
    test::ArchiveBuilder("CD 2", 2).Entry("\\", "b").WriteTo(catalog, "2.dat");
  }
};

TEST_F(EditArchiveTest, ATakenMarkIsRefusedAndACaseChangeIsNot) {
  ArchiveValues values{"CD 1", "Shelf", "note"};
  std::string refusal;
  bool okWithBlanks = true;
  Script script([&] {
    HWND dialog = WaitForWindow(kClassName);
    ASSERT_NE(dialog, nullptr);
    test::SetControlText(dialog, kEdtMark, "  ");
    okWithBlanks = IsWindowEnabled(GetDlgItem(dialog, kBtnOk)) != 0;
    test::SetControlText(dialog, kEdtMark, "cd 2");  // another archive's, letter case aside
    Click(dialog, kBtnOk);
    refusal = AnswerMessageBox(IDOK);
    // Back to this archive's own mark, in other letters: no longer refused
    // once another mark was.
    test::SetControlText(dialog, kEdtMark, "cd 1");
    test::SetControlText(dialog, kEdtLocation, "Box 3 ");
    Click(dialog, kBtnOk);
    if (!test::WaitForWindowGone(dialog, std::chrono::seconds(3))) {
      // Refused after all: close it, so the test fails instead of hanging.
      AnswerMessageBox(IDOK, std::chrono::seconds(1));
      test::PressKey(GetDlgItem(dialog, kEdtMark), VK_ESCAPE);
    }
  });
  EXPECT_EQ(TfrmEditArchive::Execute(context, values), kModalOk);
  EXPECT_FALSE(okWithBlanks);
  EXPECT_EQ(refusal, "The mark already exists!");
  EXPECT_EQ(values.mark, "cd 1");
  EXPECT_EQ(values.location, "Box 3 ");  // as typed
  EXPECT_EQ(values.note, "note");
}

TEST_F(EditArchiveTest, EscapeCancelsAndKeepsTheValues) {
  ArchiveValues values{"CD 2", "", ""};
  Script script([&] {
    HWND dialog = WaitForWindow(kClassName);
    ASSERT_NE(dialog, nullptr);
    test::SetControlText(dialog, kEdtMark, "changed");
    test::PressKey(GetDlgItem(dialog, kEdtMark), VK_ESCAPE);
  });
  EXPECT_EQ(TfrmEditArchive::Execute(context, values), kModalCancel);
  EXPECT_EQ(values.mark, "CD 2");
}

}  // namespace
}  // namespace discovel
