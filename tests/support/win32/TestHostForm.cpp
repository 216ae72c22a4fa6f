#include "support/win32/TestHostForm.h"

namespace discovel::test {

void TestHostForm::Create(int width, int height) {
  WindowSpec params;
  params.className = "DiscovelTestHost";
  params.caption = "Test host";
  params.style = WS_OVERLAPPEDWINDOW;
  // The outer size: room for the frame and caption besides the client area.
  params.width = width + 40;
  params.height = height + 60;
  CreateFormWindow(params);
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(Handle());
}

}  // namespace discovel::test
