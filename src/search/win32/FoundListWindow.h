#pragma once
// What every window of found files shares: the found-files list filling the
// window from below its bar down to the status bar, the list's pop-up menu,
// and closing, which is always granted.
#include "platform/AppContext.h"
#include "search/win32/FoundFilesList.h"
#include "platform/win32/Handles.h"
#include "ui/StatusBar.h"
#include "ui/ToolWindow.h"

namespace discovel {

class FoundListWindow : public ToolWindow {
 public:
  void KeyState() override { m_found.KeyState(); }

 protected:
  explicit FoundListWindow(AppContext& context) : m_context(context), m_found(context) {}

  // The list from `top` (design units) down to the status bar, whose height follows its font.
  void PlaceList(int top);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  AppContext& m_context;
  FoundFilesList m_found;
  StatusBar m_sb1;
  MenuHandle m_popupMenu;  // the list's
  bool m_closing = false;
};

}  // namespace discovel
