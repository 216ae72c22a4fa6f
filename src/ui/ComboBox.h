#pragma once
// A drop-down list to choose one of fixed items from; its form hears of the
// user's choice through onChange.
#include <functional>
#include <string>
#include <string_view>
#include <vector>
#include <initializer_list>

#include "ui/ChildWindow.h"

namespace discovel {

struct ComboBoxArgs {
  Form* form = nullptr;
  int id = 0;
  ControlBounds bounds;  // the height is the closed box's; the list drops below it
  unsigned anchors = kAnchorTopLeft;
  std::initializer_list<const char*> items;
  int selected = 0;
};

class ComboBox final : public ChildWindow {
 public:
  // Throws AppError when the control cannot be created.
  void Create(const ComboBoxArgs& args);
  int Selected() const;
  void Select(int index);
  // Replaces the items and selects the one at `selected`.
  void SetItems(const std::vector<std::string>& items, int selected);
  // The selected item's text; "" when none is selected.
  std::string SelectedText() const;

  std::function<void()> onChange;

 private:
  void AddItem(std::string_view item);
  bool OnCommandCode(WORD code) override;
};

}  // namespace discovel
