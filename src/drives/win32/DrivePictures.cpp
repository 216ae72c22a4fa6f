#include "drives/win32/DrivePictures.h"

#include "platform/AppError.h"
#include "platform/win32/Handles.h"
#include "ui/ButtonPictures.h"

namespace discovel {
namespace {

// A drive's front with its tray slot, a disc peeking out above it.
void Drive(HDC dc) {
  GdiObject rim(CreatePen(PS_SOLID, 1, RGB(70, 78, 92)));
  GdiObject body(CreateSolidBrush(RGB(196, 202, 212)));
  GdiObject disc(CreateSolidBrush(RGB(214, 224, 240)));
  HGDIOBJ oldPen = SelectObject(dc, rim.get());
  HGDIOBJ oldBrush = SelectObject(dc, disc.get());
  Ellipse(dc, 6, 2, 26, 22);
  SelectObject(dc, body.get());
  Rectangle(dc, 1, 14, 31, 28);
  MoveToEx(dc, 5, 19, nullptr);
  LineTo(dc, 27, 19);
  const RECT light{24, 23, 28, 25};
  FillRect(dc, &light, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
}

// The drive with a green tick over its lower left corner.
void DefaultDrive(HDC dc) {
  Drive(dc);
  GdiObject tick(CreatePen(PS_SOLID, 3, RGB(0, 150, 40)));
  HGDIOBJ oldPen = SelectObject(dc, tick.get());
  MoveToEx(dc, 3, 24, nullptr);
  LineTo(dc, 8, 29);
  LineTo(dc, 17, 18);
  SelectObject(dc, oldPen);
}

}  // namespace

HIMAGELIST CreateDrivePictures(UINT dpi) {
  HIMAGELIST images = CreatePictureList(kDrivePictureSize, kDrivePictureSize, dpi, 2);
  AddDrawnPicture(images, kDrivePictureSize, kDrivePictureSize, Drive, dpi);
  AddDrawnPicture(images, kDrivePictureSize, kDrivePictureSize, DefaultDrive, dpi);
  return images;
}

}  // namespace discovel
