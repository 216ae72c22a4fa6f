// Tool buttons and the pictures a form shows on its buttons, read back from
// the screen.
#include <gtest/gtest.h>

#include <vector>

#include "support/win32/TestHostForm.h"
#include "support/win32/UiDriver.h"
#include "ui/ButtonPictures.h"
#include "ui/Controls.h"

namespace discovel {
namespace {

// The colours a control shows now, pixel by pixel.
std::vector<COLORREF> PixelsOf(HWND control) {
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  RECT r{};
  GetClientRect(control, &r);
  HDC screen = GetDC(control);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < r.bottom; ++y) {
    for (int x = 0; x < r.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(control, screen);
  return pixels;
}

int Count(const std::vector<COLORREF>& pixels, COLORREF colour) {
  int count = 0;
  for (COLORREF pixel : pixels) count += pixel == colour ? 1 : 0;
  return count;
}

TEST(ToolButtonTest, ADisabledToolButtonDrawsItsPictureGreyedNotBlank) {
  test::TestHostForm host;
  host.Create(200, 100);
  HWND button = CreateToolButton(host.Handle(), 100, 10, 10, 25);
  host.ShowPicture(button, ButtonPicture::Go);  // a green arrow
  const COLORREF green = RGB(0, 140, 60);
  const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);

  const std::vector<COLORREF> enabled = PixelsOf(button);
  EXPECT_GT(Count(enabled, green), 20);
  EXPECT_EQ(Count(enabled, grey), 0);

  EnableWindow(button, FALSE);
  const std::vector<COLORREF> disabled = PixelsOf(button);
  EXPECT_EQ(Count(disabled, green), 0);
  // The same arrow, in the grey of disabled text.
  EXPECT_GT(Count(disabled, grey), 20);
}

TEST(ToolButtonTest, APictureIsMadeAgainAtTheNewDpiWhenTheWindowsDpiChanges) {
  test::TestHostForm host;
  host.Create(200, 100);
  HWND button = CreateChild(host.Handle(), WC_BUTTONW, "", BS_PUSHBUTTON | BS_BITMAP, 10, 10, 25, 25, 100);
  host.ShowPicture(button, ButtonPicture::Go);
  const auto glyphSide = [&] {
    BITMAP info{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0)), sizeof info, &info);
    return info.bmHeight;
  };
  const UINT dpi = host.Dpi();
  EXPECT_EQ(glyphSide(), ScaleToDpi(kPictureHeight, dpi));
  RECT window{};
  GetWindowRect(host.Handle(), &window);
  SendMessageW(host.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2), reinterpret_cast<LPARAM>(&window));
  EXPECT_EQ(glyphSide(), ScaleToDpi(kPictureHeight, dpi * 2));
  RECT placed{};
  GetWindowRect(button, &placed);
  EXPECT_EQ(placed.right - placed.left, ScaleToDpi(25, dpi * 2));
}

}  // namespace
}  // namespace discovel
