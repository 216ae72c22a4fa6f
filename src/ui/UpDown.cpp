#include "ui/UpDown.h"

#include <commctrl.h>

#include "platform/AppError.h"

namespace discovel {
namespace {

constexpr int kArrowsWidth = 17;  // design units

}  // namespace

UpDown::~UpDown() {
  Destroy();
  m_edit.Destroy();
}

void UpDown::Create(const UpDownArgs& args) {
  if (!args.form || !args.form->Handle()) throw AppError("An up-down control needs a window.");
  // Digits only, unless the range needs a minus sign.
  const bool digits = args.minimum >= 0;
  // The arrows take the right of the bounds, the edit box the rest. Both are
  // laid out by the form, so no alignment to the buddy: that would move the
  // edit box once, and the next layout back.
  const ControlBounds& all = args.bounds;
  EditBoxArgs edit;
  edit.form = args.form;
  edit.id = args.editId;
  edit.bounds = {all.x, all.y, all.width - kArrowsWidth, all.height};
  edit.numbers = digits;
  m_edit.Create(edit);
  ChildWindow::Create(args.form->Handle(), UPDOWN_CLASSW, args.id,
                      {all.x + all.width - kArrowsWidth, all.y, kArrowsWidth, all.height},
                      UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, ICC_UPDOWN_CLASS);
  SendMessageW(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_edit.Handle()), 0);
  SetRange(args.minimum, args.maximum);
  SetPosition(args.position);
  args.form->RouteNotifications(Handle(), this);
}

void UpDown::SetRange(int minimum, int maximum) { SendMessageW(Handle(), UDM_SETRANGE32, minimum, maximum); }

int UpDown::Position() const {
  BOOL failed = FALSE;
  return static_cast<int>(SendMessageW(Handle(), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
}

void UpDown::SetPosition(int position) { SendMessageW(Handle(), UDM_SETPOS32, 0, position); }

bool UpDown::OnNotify(const NMHDR& header, LRESULT& result) {
  if (!Handle() || header.code != UDN_DELTAPOS) return false;
  const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
  // Nonzero refuses the change.
  result = onChanging && !onChanging(change.iPos, change.iDelta) ? TRUE : FALSE;
  return true;
}

}  // namespace discovel
