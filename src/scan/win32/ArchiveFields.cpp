#include "scan/win32/ArchiveFields.h"

#include "scan/ArchiveFieldIds.h"

namespace discovel {

void ArchiveFields::Create(Form& form, int top, int pitch) {
  using namespace archiveFieldIds;
  const char* captions[] = {"Mark", "Location", "Note"};
  EditBox* edits[] = {&mark, &location, &note};
  const int ids[] = {kEdtMark, kEdtLocation, kEdtNote};
  const int width = form.DesignClient().width - 104;
  for (int i = 0; i < 3; ++i) {
    const int y = top + i * pitch;
    m_captions[i].Create({.form = &form, .text = captions[i], .bounds = {20, y + 3, 60, 16}});
    edits[i]->Create({.form = &form, .id = ids[i], .bounds = {84, y, width, 21}, .anchors = kAnchorTopWide});
  }
}

void ArchiveFields::Show(bool visible) {
  for (HWND edit : Edits()) ShowWindow(edit, visible ? SW_SHOW : SW_HIDE);
  for (const Label& caption : m_captions) ShowWindow(caption.Handle(), visible ? SW_SHOW : SW_HIDE);
}

}  // namespace discovel
