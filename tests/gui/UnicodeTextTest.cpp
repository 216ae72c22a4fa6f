// Text of every script reaches the toolkit's controls and comes back exactly:
// typed with the keyboard's input queue, or set by the program, whatever the
// system's code page.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/win32/ListDriver.h"
#include "support/win32/TestHostForm.h"
#include "support/win32/UiDriver.h"
#include "ui/Action.h"
#include "ui/ComboBox.h"
#include "ui/EditBox.h"
#include "ui/Label.h"
#include "ui/ListView.h"
#include "ui/Menus.h"
#include "ui/MessageBoxes.h"
#include "ui/MessagePump.h"
#include "ui/StatusBar.h"
#include "ui/WindowText.h"

namespace discovel {
namespace {

// None of these fits one ANSI code page; the emoji is a surrogate pair.
const std::string kJapanese = "日本語のファイル";
const std::string kGreek = "Ελληνικά ονόματα";
const std::string kCyrillic = "Кириллица и ё";
const std::string kEmoji = "😀 smile";
const std::vector<std::string> kScripts{kJapanese, kGreek, kCyrillic, kEmoji};

// Runs the program's own message pump until `field` holds `text`; false
// when it did not within three seconds.
bool PumpUntilFieldHolds(const EditBox& field, const std::string& text) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (field.Text() != text) {
    if (std::chrono::steady_clock::now() > end) return false;
    PumpMessages();
    Sleep(5);
  }
  return true;
}

TEST(UnicodeTextTest, TextTypedInAnyScriptReachesTheEditFieldExactly) {
  test::TestHostForm host;
  host.Create(300, 100);
  EditBox field;
  field.Create({.form = &host, .id = 100, .bounds = {10, 10, 280, 21}});
  SetForegroundWindow(host.Handle());
  SetFocus(field.Handle());
  ASSERT_TRUE(test::WaitUntil([&] { return GetFocus() == field.Handle(); }));
  for (const std::string& text : kScripts) {
    field.SetText("");
    test::TypeText(text);
    EXPECT_TRUE(PumpUntilFieldHolds(field, text)) << "typed " << text << ", the field holds " << field.Text();
  }
}

TEST(UnicodeTextTest, CellsCaptionsPanelsItemsAndMenusKeepTheirScripts) {
  test::TestHostForm host;
  host.Create();
  ListView own;
  own.Create({.form = &host, .id = 100, .bounds = {10, 10, 300, 100}, .columns = {{"名前", 120}, {"Όνομα", 120}}});
  own.AddRow({kJapanese, kGreek});
  own.SetCell(0, 1, kEmoji);
  EXPECT_EQ(test::ListCell(own.Handle(), 0, 0), kJapanese);
  EXPECT_EQ(test::ListCell(own.Handle(), 0, 1), kEmoji);
  EXPECT_EQ(own.CellText(0, 0), kJapanese);
  EXPECT_EQ(test::ListHeaders(own.Handle()), (test::Texts{"名前", "Όνομα"}));

  // An owner-data list answers the list's own requests for its cells.
  ListView virtualList;
  virtualList.Create({.form = &host,
                      .id = 101,
                      .bounds = {10, 120, 300, 100},
                      .ownerData = true,
                      .columns = {{"Name", 120}, {"Folder", 120}}});
  virtualList.SetCellTextSource([](int row, int column) { return kScripts[static_cast<std::size_t>(row + column)]; });
  virtualList.SetRowCount(3);
  EXPECT_EQ(test::ListColumn(virtualList.Handle(), 0), (test::Texts{kJapanese, kGreek, kCyrillic}));
  EXPECT_EQ(test::ListCell(virtualList.Handle(), 2, 1), kEmoji);

  Label label;
  label.Create({.form = &host, .id = 102, .text = kCyrillic.c_str(), .bounds = {10, 230, 300, 16}});
  EXPECT_EQ(TextOf(label.Handle()), kCyrillic);
  SetTextOf(host.Handle(), kGreek);
  EXPECT_EQ(test::WindowCaption(host.Handle()), kGreek);

  StatusBar status;
  status.Create(host.Handle(), 103, 0, {200, 100}, 0);
  status.SetText(0, kJapanese);
  status.SetText(1, kEmoji);
  EXPECT_EQ(test::StatusText(status.Handle(), 0), kJapanese);
  EXPECT_EQ(test::StatusText(status.Handle(), 1), kEmoji);

  ComboBox combo;
  combo.Create({.form = &host, .id = 104, .bounds = {10, 250, 200, 21}, .items = {"Ελληνικά ονόματα"}});
  EXPECT_EQ(combo.SelectedText(), kGreek);
  combo.SetItems({kCyrillic, kEmoji}, 1);
  EXPECT_EQ(test::ComboItems(combo.Handle()), (test::Texts{kCyrillic, kEmoji}));
  EXPECT_EQ(combo.SelectedText(), kEmoji);

  Action& action = host.Commands().Add({.id = 105, .caption = kJapanese.c_str()});
  const MenuHandle menu = BuildMenu({SubMenu(kCyrillic.c_str(), {Item(105)})}, host.Commands());
  EXPECT_EQ(test::MenuCaption(menu.get(), 0), kCyrillic);
  EXPECT_EQ(test::MenuCaption(GetSubMenu(menu.get(), 0), 0), kJapanese);
  action.SetCaption(kEmoji);
  EXPECT_EQ(test::MenuCaption(GetSubMenu(menu.get(), 0), 0), kEmoji);
}

TEST(UnicodeTextTest, AMessageBoxSaysTheTextInEveryScript) {
  const std::string text = kJapanese + "\n" + kGreek + "\n" + kCyrillic + "\n" + kEmoji;
  std::string shown;
  {
    test::Script script([&] { shown = test::AnswerMessageBox(IDOK); });
    ShowAlert(nullptr, text);
  }
  EXPECT_EQ(shown, text);
}

}  // namespace
}  // namespace discovel
