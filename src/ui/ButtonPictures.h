#pragma once
// The pictures of the program's flat buttons, drawn at run time at the DPI
// they are shown at: an image list holds the states of one button (go and
// cancel; advanced and simple) or one picture, each picture a normal and a
// greyed glyph side by side.
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
  AddDisc,         // a disc and a plus
  SearchFiles,     // a magnifying glass
  EjectDisc,       // the eject sign
  CloseTray,       // the eject sign upside down
  ConsecutiveOff,  // one disc
  ConsecutiveOn,   // discs following one another
  ExportCsv,       // a sheet with a grid and an arrow out of it
};

// Design sizes, at 96 DPI.
inline constexpr int kPictureWidth = 42;
inline constexpr int kPictureHeight = 21;

// What a picture leaves in this colour is transparent.
inline constexpr COLORREF kMaskColour = RGB(255, 0, 255);

// Adds a picture of `width` x `height` design units, made at `dpi`, that
// `draw` paints over the mask colour in design units: the drawing is scaled,
// not the finished bitmap, so lines stay sharp at any scale.
void AddDrawnPicture(HIMAGELIST images, int width, int height, const std::function<void(HDC)>& draw,
                     UINT dpi = 96);
// An empty image list for pictures of `width` x `height` design units at `dpi`.
HIMAGELIST CreatePictureList(int width, int height, UINT dpi, int count);

// Adds `picture` (42 x 21 design units, at `dpi`) to `images`; its index.
int AddButtonPicture(HIMAGELIST images, ButtonPicture picture, UINT dpi);


// The image list of a button that shows `picture` beside its caption
// (BCM_SETIMAGELIST): one `size` x `size` glyph (design units) at `dpi` for
// every state, the greyed one for the disabled state. The caller destroys it.
HIMAGELIST CreateCaptionPictures(ButtonPicture picture, int size, UINT dpi);

// Makes picture `index` of `images` the glyph of `button`: the normal glyph
// on a BS_BITMAP button (the glyph before it is freed); on a tool button the
// normal glyph, or the greyed one while the button is disabled. The index is
// kept on the button (ButtonPictureIndex) for whoever looks at the window
// from outside. A tool button draws from `images`, which must outlive it.
void DrawButton(HIMAGELIST images, HWND button, int index);
int ButtonPictureIndex(HWND button);
// Frees the glyph a button was given; call before the button goes.
void FreeButtonPicture(HWND button);
// Paints a tool button (owner-drawn): a flat face, sunk while pressed, and
// its glyph, greyed while the button is disabled.
void DrawToolButton(const DRAWITEMSTRUCT& item);

}  // namespace discovel
