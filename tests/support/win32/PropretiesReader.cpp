#include "support/win32/PropretiesReader.h"

#include "search/fmPropretiesIds.h"
#include "support/win32/UiDriver.h"

namespace discovel::test {

PropretiesValues ShownPropreties(HWND dialog) {
  using namespace fmPropretiesIds;
  HWND box = GetDlgItem(dialog, kScrollBox1);
  return {ControlText(box, kLblMark), ControlText(box, kLblDir),  ControlText(box, kLblFile),
          ControlText(box, kLblType), ControlText(box, kLblDate), ControlText(box, kLblSize)};
}

}  // namespace discovel::test
