#include "ui/TreeView.h"

#include <windowsx.h>

#include <cstring>
#include <string>

#include "platform/AppError.h"
#include "platform/win32/WideText.h"

namespace discovel {

void TreeView::Create(const TreeViewArgs& args) {
  if (!args.form || !args.form->Handle()) throw AppError("A tree view needs a window.");
  const DWORD style = WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  ChildWindow::Create(args.form->Handle(), WC_TREEVIEWW, args.id, args.bounds, style, WS_EX_CLIENTEDGE,
                      ICC_TREEVIEW_CLASSES, args.anchors);
  // Double buffering (common controls 6) keeps a tree from flickering as it
  // opens; older trees ignore it.
  Send(TVM_SETEXTENDEDSTYLE, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
  args.form->RouteNotifications(Handle(), this);
}

LRESULT TreeView::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendMessageW(Handle(), message, wParam, lParam);
}

HTREEITEM TreeView::Add(HTREEITEM parent, std::string_view text, ItemParam param, bool hasChildren) {
  std::wstring wide = Wide(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = wide.data();
  insert.item.lParam = static_cast<LPARAM>(param);
  insert.item.cChildren = hasChildren ? 1 : 0;
  return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TreeView::SetText(HTREEITEM item, std::string_view text) {
  std::wstring wide = Wide(text);
  TVITEMW change{};
  change.mask = TVIF_TEXT;
  change.hItem = item;
  change.pszText = wide.data();
  Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&change));
}

std::string TreeView::Text(HTREEITEM item) const {
  // A folder's name is at most 255 characters; its total follows it.
  std::wstring text(1024, L'\0');
  TVITEMW asked{};
  asked.mask = TVIF_TEXT;
  asked.hItem = item;
  asked.pszText = text.data();
  asked.cchTextMax = static_cast<int>(text.size());
  if (!Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&asked))) return {};
  return Utf8(asked.pszText);
}

void TreeView::RemoveChildren(HTREEITEM item) {
  // Closed with the children removed while they are there (a collapse of an
  // item without children may leave its state as it is), then marked as
  // never opened, with its button, so that opening fills it again.
  Send(TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(item));
  while (HTREEITEM child = FirstChild(item)) Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
  TVITEMW change{};
  change.mask = TVIF_CHILDREN | TVIF_STATE;
  change.hItem = item;
  change.cChildren = 1;
  change.stateMask = TVIS_EXPANDEDONCE | TVIS_EXPANDED;
  change.state = 0;
  Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&change));
}

void TreeView::Expand(HTREEITEM item) { Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)); }

void TreeView::Select(HTREEITEM item) {
  Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

HTREEITEM TreeView::Selected() const {
  return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET, 0));
}

TreeView::ItemParam TreeView::ParamOf(HTREEITEM item) const {
  TVITEMW asked{};
  asked.mask = TVIF_PARAM;
  asked.hItem = item;
  Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&asked));
  return static_cast<ItemParam>(asked.lParam);
}

HTREEITEM TreeView::ParentOf(HTREEITEM item) const {
  return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM TreeView::FirstChild(HTREEITEM item) const {
  return reinterpret_cast<HTREEITEM>(
      Send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item ? item : TVI_ROOT)));
}

HTREEITEM TreeView::NextSibling(HTREEITEM item) const {
  return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
}

bool TreeView::OnNotify(const NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case TVN_ITEMEXPANDINGW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
      if ((change.action & TVE_EXPAND) && onFirstOpened && !FirstChild(change.itemNew.hItem)) {
        onFirstOpened(change.itemNew.hItem, static_cast<ItemParam>(change.itemNew.lParam));
      }
      result = FALSE;  // let it open
      return true;
    }
    case TVN_SELCHANGEDW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
      if (onSelected && change.itemNew.hItem) {
        onSelected(change.itemNew.hItem, static_cast<ItemParam>(change.itemNew.lParam));
      }
      return true;
    }
    default:
      return false;
  }
}

POINT TreeView::PopupMenuPoint(LPARAM position) const {
  if (position != -1) return POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  RECT item{};
  HTREEITEM selected = Selected();
  // The item's handle goes in the rectangle's first field.
  std::memcpy(&item, &selected, sizeof selected);
  if (!selected || !Send(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item))) item = RECT{};
  POINT at{item.left + 8, item.bottom};
  ClientToScreen(Handle(), &at);
  return at;
}

}  // namespace discovel
