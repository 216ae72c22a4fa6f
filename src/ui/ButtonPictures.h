#pragma once
// The pictures of the program's flat buttons, drawn at run time: an image
// list holds the states of one button (go and cancel; advanced and simple) or
// one picture, each picture a normal and a greyed glyph side by side.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <initializer_list>

namespace discovel {

enum class ButtonPicture {
  Go,
  Cancel,
  ShowAdvanced,
  HideAdvanced,
  CopyFile,
  ChangeView,
  Refresh,
  Add,
  Edit,
  Remove,
};

inline constexpr int kPictureWidth = 42;
inline constexpr int kPictureHeight = 21;

// What a picture leaves in this colour is transparent.
inline constexpr COLORREF kMaskColour = RGB(255, 0, 255);

// Adds a `width` x `height` picture that `draw` paints over the mask colour.
void AddDrawnPicture(HIMAGELIST images, int width, int height, const std::function<void(HDC)>& draw);

// An image list of 42 x 21 pictures, one per entry of `pictures`; the caller
// destroys it.
HIMAGELIST CreateButtonPictures(std::initializer_list<ButtonPicture> pictures);

// Makes picture `index` of `images` the glyph of `button` (a BS_BITMAP
// button); the glyph before it is freed. The index is kept on the button
// (ButtonPictureIndex) for whoever looks at the window from outside.
void DrawButton(HIMAGELIST images, HWND button, int index);
int ButtonPictureIndex(HWND button);
// Frees the glyph a button was given; call before the button goes.
void FreeButtonPicture(HWND button);

}  // namespace discovel
