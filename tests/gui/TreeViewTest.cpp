// The tree view fills an item when it is first opened, and again after its
// children were removed; the user's keys move the selection it reports.
#include "ui/TreeView.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/win32/TestHostForm.h"
#include "support/win32/UiDriver.h"
#include "ui/MessagePump.h"

namespace discovel {
namespace {

TEST(TreeViewTest, ChildrenComeWhenAnItemIsFirstOpenedAndKeysMoveTheSelection) {
  test::TestHostForm host;
  host.Create();
  TreeView tree;
  tree.Create({.form = &host, .id = 100, .bounds = {0, 0, 300, 300}});
  std::vector<TreeView::ItemParam> opened;
  std::vector<TreeView::ItemParam> selected;
  tree.onFirstOpened = [&](HTREEITEM item, TreeView::ItemParam param) {
    opened.push_back(param);
    tree.Add(item, "Photos (1.5 MB)", param * 10 + 1, true);
    tree.Add(item, "東京 (512 bytes)", param * 10 + 2, false);
  };
  tree.onSelected = [&](HTREEITEM, TreeView::ItemParam param) { selected.push_back(param); };

  HTREEITEM root = tree.Add(nullptr, "CD 1 (1.5 MB)", 7, true);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tree.FirstChild(root), nullptr) << "nothing before it is opened";
  tree.Expand(root);
  ASSERT_EQ(opened, std::vector<TreeView::ItemParam>{7});
  HTREEITEM photos = tree.FirstChild(root);
  ASSERT_NE(photos, nullptr);
  EXPECT_EQ(tree.ParamOf(photos), 71u);
  EXPECT_EQ(tree.ParentOf(photos), root);
  EXPECT_EQ(tree.Text(tree.NextSibling(photos)), "東京 (512 bytes)");

  // Closed and opened again: filled once only.
  SendMessageW(tree.Handle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root));
  tree.Expand(root);
  EXPECT_EQ(opened.size(), 1u);

  tree.Select(root);
  EXPECT_EQ(selected.back(), 7u);
  SetFocus(tree.Handle());
  test::PressKey(tree.Handle(), VK_DOWN);
  PumpMessages();
  EXPECT_EQ(tree.Selected(), photos);
  EXPECT_EQ(selected.back(), 71u) << "the key's move is reported";

  tree.SetText(photos, "Photos (2.0 MB)");
  EXPECT_EQ(tree.Text(photos), "Photos (2.0 MB)");

  // Emptied, the item shows its button and is filled again when opened.
  tree.RemoveChildren(root);
  EXPECT_EQ(tree.FirstChild(root), nullptr);
  tree.Expand(root);
  EXPECT_EQ(opened, (std::vector<TreeView::ItemParam>{7, 7}));
  EXPECT_NE(tree.FirstChild(root), nullptr);
}

}  // namespace
}  // namespace discovel
