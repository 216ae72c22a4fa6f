#include "drives/win32/DriveIcons.h"

#include <shellapi.h>
#include <shlobj.h>

#include "platform/AppError.h"
#include "ui/Dpi.h"

namespace discovel {
namespace {

// In the order of the pictures.
constexpr SHSTOCKICONID kStockIcons[] = {SIID_DRIVEREMOVE, SIID_DRIVEFIXED, SIID_DRIVENET};

}  // namespace

HICON LoadStockIcon(SHSTOCKICONID id, int pixels) {
  SHSTOCKICONINFO info{};
  info.cbSize = sizeof info;
  if (FAILED(SHGetStockIconInfo(id, SHGSI_ICONLOCATION, &info))) return nullptr;
  HICON icon = nullptr;
  const UINT sizes = static_cast<UINT>(pixels) & 0xFFFF;
  if (SHDefExtractIconW(info.szPath, info.iIcon, 0, &icon, nullptr, sizes) != S_OK) return nullptr;
  return icon;
}

HIMAGELIST CreateDriveIcons(UINT dpi) {
  const int size = SystemMetricAt(SM_CXSMICON, dpi);
  HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 0);
  if (!images) throw AppError("Cannot create the drive pictures.");
  for (SHSTOCKICONID id : kStockIcons) {
    if (HICON icon = LoadStockIcon(id, size)) {
      ImageList_ReplaceIcon(images, -1, icon);
      // The list keeps its own copy of the picture.
      DestroyIcon(icon);
    } else {
      // A shared icon of the system, never destroyed.
      ImageList_ReplaceIcon(images, -1, LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)));
    }
  }
  return images;
}

int DriveIconOf(SourceKind kind) {
  switch (kind) {
    case SourceKind::kRemovable:
      return 0;
    case SourceKind::kNetwork:
      return 2;
    default:
      return 1;
  }
}

}  // namespace discovel
