#include "browser/win32/DiscPictures.h"

#include "drives/win32/DriveIcons.h"
#include "platform/AppError.h"
#include "ui/core/DesignLayout.h"
#include "ui/ButtonPictures.h"

namespace discovel {
namespace {

void Disc(HDC dc, int size) {
  HPEN rim = CreatePen(PS_SOLID, 1, RGB(90, 100, 120));
  HBRUSH silver = CreateSolidBrush(RGB(200, 210, 225));
  HBRUSH hub = CreateSolidBrush(RGB(240, 244, 250));
  HGDIOBJ oldPen = SelectObject(dc, rim);
  HGDIOBJ oldBrush = SelectObject(dc, silver);
  Ellipse(dc, 1, 1, size - 1, size - 1);
  SelectObject(dc, hub);
  const int centre = size / 2;
  const int hubRadius = size / 5;
  Ellipse(dc, centre - hubRadius, centre - hubRadius, centre + hubRadius, centre + hubRadius);
  // The hole shows what lies behind the disc.
  HBRUSH hole = CreateSolidBrush(kMaskColour);
  SelectObject(dc, hole);
  const int holeRadius = size / 12 + 1;
  Ellipse(dc, centre - holeRadius, centre - holeRadius, centre + holeRadius, centre + holeRadius);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(rim);
  DeleteObject(silver);
  DeleteObject(hub);
  DeleteObject(hole);
}

}  // namespace

HIMAGELIST CreateDiscPictures(int size, UINT dpi) {
  HIMAGELIST images = CreatePictureList(size, size, dpi, 5);
  const auto disc = [&] { AddDrawnPicture(images, size, size, [size](HDC dc) { Disc(dc, size); }, dpi); };
  disc();
  // Removable, fixed, network, folder: as SourceKind orders them.
  for (const SHSTOCKICONID id : {SIID_DRIVEREMOVE, SIID_DRIVEFIXED, SIID_DRIVENET, SIID_FOLDER}) {
    if (HICON icon = LoadStockIcon(id, ScaleToDpi(size, dpi))) {
      ImageList_ReplaceIcon(images, -1, icon);
      DestroyIcon(icon);
    } else {
      disc();  // a shell without that picture: the row still has one
    }
  }
  return images;
}

}  // namespace discovel
