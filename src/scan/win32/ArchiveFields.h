#pragma once
// The mark, location and note of an archive as the add-disc and edit dialogs
// ask for them: one field below the other, each with its caption at its left,
// as wide as the window leaves.
#include <windows.h>

#include <array>

#include "ui/EditBox.h"
#include "ui/Form.h"
#include "ui/Label.h"

namespace discovel {

class ArchiveFields {
 public:
  // The first field at `top` (design units), each next one `pitch` lower.
  void Create(Form& form, int top, int pitch);
  void Show(bool visible);
  std::array<HWND, 3> Edits() const { return {mark.Handle(), location.Handle(), note.Handle()}; }

  EditBox mark;
  EditBox location;
  EditBox note;

 private:
  std::array<Label, 3> m_captions;
};

}  // namespace discovel
