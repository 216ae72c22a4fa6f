#include "ui/ComboBox.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"

namespace discovel {
namespace {

// The dropped list's room below the box, in design units.
constexpr int kDropHeight = 120;

}  // namespace

void ComboBox::Create(const ComboBoxArgs& args) {
  // A combo box's window height includes its dropped list; its closed height
  // follows from its font.
  ControlBounds bounds = args.bounds;
  bounds.height = kDropHeight;
  ChildWindow::Create(args.form->Handle(), WC_COMBOBOXW, args.id, bounds,
                      WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, args.anchors);
  for (const char* item : args.items) AddItem(item);
  Select(args.selected);
  TakeCommands();
}

int ComboBox::Selected() const { return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }

void ComboBox::Select(int index) { SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void ComboBox::SetItems(const std::vector<std::string>& items, int selected) {
  SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) AddItem(item);
  Select(selected);
}

std::string ComboBox::SelectedText() const {
  const int index = Selected();
  if (index < 0) return {};
  const LRESULT length = SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
  return Utf8(text);
}

void ComboBox::AddItem(std::string_view item) {
  SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
}

bool ComboBox::OnCommandCode(WORD code) {
  if (code == CBN_SELCHANGE && onChange) onChange();
  return true;
}

}  // namespace discovel
