#pragma once
// A number field: an edit box with up and down arrows at its right, which
// step the number inside a range.
#include <windows.h>

#include <functional>

#include "ui/ChildWindow.h"
#include "ui/EditBox.h"
#include "ui/Form.h"

namespace discovel {

struct UpDownArgs {
  Form* form = nullptr;
  int id = 0;      // the arrows
  int editId = 0;  // the edit box
  ControlBounds bounds;  // edit box and arrows together
  int minimum = 0;
  int maximum = 100;
  int position = 0;
};

class UpDown final : public ChildWindow, public NotifyTarget {
 public:
  UpDown() = default;
  ~UpDown() override;

  // Throws AppError when the controls cannot be created.
  void Create(const UpDownArgs& args);

  HWND Edit() const { return m_edit.Handle(); }
  // The edit box, whose events (onChange, onExit) are the field's.
  EditBox& Field() { return m_edit; }
  void SetRange(int minimum, int maximum);
  // The number the edit box shows.
  int Position() const;
  void SetPosition(int position);

  // Before the position moves by `delta` from `position`; false keeps it.
  std::function<bool(int position, int delta)> onChanging;

  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 private:
  EditBox m_edit;
};

}  // namespace discovel
