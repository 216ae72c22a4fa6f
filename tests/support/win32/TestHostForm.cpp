#include "support/win32/TestHostForm.h"

namespace discovel::test {

void TestHostForm::Create(int width, int height) {
  WindowSpec params;
  params.className = "DiscovelTestHost";
  params.caption = "Test host";
  params.style = WS_OVERLAPPEDWINDOW;
  // Room around the controls a test places in it.
  params.client = {width + 24, height + 24};
  CreateFormWindow(params);
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(Handle());
}

}  // namespace discovel::test
