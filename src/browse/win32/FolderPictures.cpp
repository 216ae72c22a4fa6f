#include "browse/win32/FolderPictures.h"

#include "drives/win32/DriveIcons.h"
#include "ui/ButtonPictures.h"
#include "ui/core/DesignLayout.h"

namespace discovel {

HIMAGELIST CreateFolderPictures(UINT dpi) {
  constexpr int kSize = 16;
  HIMAGELIST images = CreatePictureList(kSize, kSize, dpi, 2);
  for (const SHSTOCKICONID id : {SIID_FOLDER, SIID_DOCNOASSOC}) {
    if (HICON icon = LoadStockIcon(id, ScaleToDpi(kSize, dpi))) {
      ImageList_ReplaceIcon(images, -1, icon);
      DestroyIcon(icon);
    } else {
      // A shell without that picture: an empty one keeps the places.
      AddDrawnPicture(images, kSize, kSize, [](HDC) {}, dpi);
    }
  }
  return images;
}

}  // namespace discovel
