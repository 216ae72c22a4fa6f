#pragma once
// The large icons of the read-device dialog, drawn at run time.
#include <windows.h>

#include <commctrl.h>

namespace discovel {

inline constexpr int kDrivePictureSize = 32;
inline constexpr int kPictureDrive = 0;         // an ordinary CD/DVD drive
inline constexpr int kPictureDefaultDrive = 1;  // the default read device

// An image list of the two 32 x 32 pictures (design units) drawn at `dpi`;
// the caller destroys it.
HIMAGELIST CreateDrivePictures(UINT dpi);

}  // namespace discovel
