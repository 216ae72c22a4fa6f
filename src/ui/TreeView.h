#pragma once
// A tree view whose items are filled as the user opens them: an item may show
// its expand button before it has children, and its children are asked for
// when it is first opened, so a tree of fifty thousand folders costs the
// items the user has seen. Each item carries a number the caller knows it by
// (a folder's index).
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "ui/ChildWindow.h"
#include "ui/Form.h"

namespace discovel {

struct TreeViewArgs {
  Form* form = nullptr;
  int id = 0;
  ControlBounds bounds;
  unsigned anchors = kAnchorTopLeft;
};

class TreeView final : public ChildWindow, public NotifyTarget {
 public:
  using ItemParam = std::uint32_t;

  // Throws AppError when the control cannot be created.
  void Create(const TreeViewArgs& args);

  // Adds an item as the last child of `parent` (null: a top item). With
  // `hasChildren` it shows its expand button; its children come from
  // onFirstOpened. Null when the control refused it.
  HTREEITEM Add(HTREEITEM parent, std::string_view text, ItemParam param, bool hasChildren);
  void SetText(HTREEITEM item, std::string_view text);
  std::string Text(HTREEITEM item) const;
  // Removes every child; the item is filled again when next opened.
  void RemoveChildren(HTREEITEM item);
  void Expand(HTREEITEM item);
  // Selects the item and scrolls it into view, its parents opened.
  void Select(HTREEITEM item);
  HTREEITEM Selected() const;
  ItemParam ParamOf(HTREEITEM item) const;
  HTREEITEM ParentOf(HTREEITEM item) const;
  HTREEITEM FirstChild(HTREEITEM item) const;
  HTREEITEM NextSibling(HTREEITEM item) const;
  // Where the tree's pop-up menu opens (screen coordinates) for a
  // WM_CONTEXTMENU at `position`: there, or below the selected item when the
  // keyboard asked for it.
  POINT PopupMenuPoint(LPARAM position) const;

  // An item with an expand button but no children yet is being opened.
  std::function<void(HTREEITEM item, ItemParam param)> onFirstOpened;
  // The selection moved to the item, by the user or by Select.
  std::function<void(HTREEITEM item, ItemParam param)> onSelected;

  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
};

}  // namespace discovel
