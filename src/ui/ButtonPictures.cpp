#include "ui/ButtonPictures.h"

#include "platform/AppError.h"
#include "ui/Controls.h"
#include "ui/core/DesignLayout.h"

namespace discovel {
namespace {

constexpr int kGlyph = kPictureHeight;  // square glyphs, two to a picture
constexpr wchar_t kIndexProperty[] = L"DiscovelPictureIndex";
constexpr wchar_t kImagesProperty[] = L"DiscovelPictures";

// The side of a square glyph in `images`: the height of its pictures.
int GlyphSize(HIMAGELIST images) {
  int width = 0;
  int height = 0;
  ImageList_GetIconSize(images, &width, &height);
  return height;
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// Draws with a pen of `width` in `colour`, then puts the pen before it back.
void WithPen(HDC dc, int width, COLORREF colour, const std::function<void()>& draw) {
  HPEN pen = CreatePen(PS_SOLID, width, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  draw();
  SelectObject(dc, old);
  DeleteObject(pen);
}

// One glyph at `left`, in `colour`.
void DrawGlyph(HDC dc, ButtonPicture picture, int left, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 3, colour);
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  switch (picture) {
    case ButtonPicture::Go: {
      const POINT arrow[] = {{left + 6, 4}, {left + 16, 10}, {left + 6, 16}};
      Polygon(dc, arrow, 3);
      break;
    }
    case ButtonPicture::Cancel:
      Line(dc, left + 5, 5, left + 15, 15);
      Line(dc, left + 15, 5, left + 5, 15);
      break;
    case ButtonPicture::ShowAdvanced:
    case ButtonPicture::HideAdvanced: {
      // Two chevrons pointing where the panel goes.
      const bool down = picture == ButtonPicture::ShowAdvanced;
      for (int y : {6, 12}) {
        const int tip = down ? y + 4 : y - 2;
        const int base = down ? y : y + 2;
        Line(dc, left + 5, base, left + 10, tip);
        Line(dc, left + 10, tip, left + 15, base);
      }
      break;
    }
    case ButtonPicture::CopyFile: {
      SelectObject(dc, GetStockObject(NULL_BRUSH));
      WithPen(dc, 1, colour, [&] {
        Rectangle(dc, left + 4, 3, left + 13, 14);
        Rectangle(dc, left + 8, 7, left + 17, 18);
      });
      break;
    }
    case ButtonPicture::ChangeView:
      // Four tiles.
      for (int y : {4, 12}) {
        for (int x : {4, 12}) {
          const RECT tile{left + x, y, left + x + 5, y + 5};
          FillRect(dc, &tile, brush);
        }
      }
      break;
    case ButtonPicture::Refresh:
      SelectObject(dc, GetStockObject(NULL_BRUSH));
      Arc(dc, left + 4, 4, left + 17, 17, left + 17, 6, left + 10, 4);
      Line(dc, left + 15, 3, left + 16, 8);
      break;
    case ButtonPicture::Add:
      Line(dc, left + 10, 4, left + 10, 16);
      Line(dc, left + 4, 10, left + 16, 10);
      break;
    case ButtonPicture::Edit: {
      // A pencil.
      Line(dc, left + 6, 15, left + 15, 6);
      const POINT tip[] = {{left + 3, 18}, {left + 5, 13}, {left + 8, 16}};
      Polygon(dc, tip, 3);
      break;
    }
    case ButtonPicture::Remove:
      Line(dc, left + 4, 10, left + 16, 10);
      break;
    case ButtonPicture::AddDisc:
    case ButtonPicture::ConsecutiveOff: {
      SelectObject(dc, GetStockObject(NULL_BRUSH));
      WithPen(dc, 2, colour, [&] {
        Ellipse(dc, left + 2, 2, left + 17, 17);
        Ellipse(dc, left + 8, 8, left + 11, 11);
      });
      if (picture == ButtonPicture::AddDisc) {
        WithPen(dc, 2, RGB(0, 140, 60), [&] {
          Line(dc, left + 16, 12, left + 16, 20);
          Line(dc, left + 12, 16, left + 20, 16);
        });
      }
      break;
    }
    case ButtonPicture::ConsecutiveOn: {
      // Three discs, one behind the other.
      SelectObject(dc, GetStockObject(NULL_BRUSH));
      WithPen(dc, 2, colour, [&] {
        for (int offset : {0, 4, 8}) Ellipse(dc, left + 1 + offset, 1 + offset, left + 12 + offset, 12 + offset);
      });
      break;
    }
    case ButtonPicture::SearchFiles: {
      SelectObject(dc, GetStockObject(NULL_BRUSH));
      Ellipse(dc, left + 3, 3, left + 14, 14);
      Line(dc, left + 13, 13, left + 18, 18);
      break;
    }
    case ButtonPicture::ExportCsv: {
      // A sheet of cells, and an arrow taking it out to the right.
      SelectObject(dc, GetStockObject(NULL_BRUSH));
      WithPen(dc, 1, colour, [&] {
        Rectangle(dc, left + 2, 2, left + 13, 19);
        for (int y : {7, 12}) Line(dc, left + 2, y, left + 13, y);
        Line(dc, left + 7, 2, left + 7, 19);
      });
      WithPen(dc, 2, colour, [&] { Line(dc, left + 10, 15, left + 17, 15); });
      SelectObject(dc, brush);
      const POINT head[] = {{left + 16, 11}, {left + 20, 15}, {left + 16, 19}};
      WithPen(dc, 1, colour, [&] { Polygon(dc, head, 3); });
      break;
    }
    case ButtonPicture::EjectDisc:
    case ButtonPicture::CloseTray: {
      // The triangle points where the tray goes; the bar stays below.
      const bool out = picture == ButtonPicture::EjectDisc;
      const POINT up[] = {{left + 3, 11}, {left + 10, 4}, {left + 17, 11}};
      const POINT down[] = {{left + 3, 4}, {left + 10, 11}, {left + 17, 4}};
      SelectObject(dc, GetStockObject(NULL_PEN));
      Polygon(dc, out ? up : down, 3);
      const RECT bar{left + 3, 14, left + 18, 17};
      FillRect(dc, &bar, brush);
      break;
    }
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

COLORREF ColourOf(ButtonPicture picture) {
  switch (picture) {
    case ButtonPicture::Go:
    case ButtonPicture::Add:
      return RGB(0, 140, 60);
    case ButtonPicture::Cancel:
    case ButtonPicture::Remove:
      return RGB(200, 30, 30);
    case ButtonPicture::AddDisc:
    case ButtonPicture::ConsecutiveOff:
    case ButtonPicture::ConsecutiveOn:
      return RGB(70, 80, 100);
    default:
      return RGB(0, 70, 120);
  }
}

}  // namespace

void AddDrawnPicture(HIMAGELIST images, int width, int height, const std::function<void(HDC)>& draw, UINT dpi) {
  const int pixelWidth = ScaleToDpi(width, dpi);
  const int pixelHeight = ScaleToDpi(height, dpi);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, pixelWidth, pixelHeight);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, pixelWidth, pixelHeight};
  HBRUSH mask = CreateSolidBrush(kMaskColour);
  FillRect(dc, &all, mask);
  DeleteObject(mask);
  // The drawing speaks design units; the world transform makes them pixels
  // at this DPI, pens and all.
  SetGraphicsMode(dc, GM_ADVANCED);
  const float scale = static_cast<float>(dpi) / static_cast<float>(kDesignDpi);
  const XFORM toPixels{scale, 0.0F, 0.0F, scale, 0.0F, 0.0F};
  SetWorldTransform(dc, &toPixels);
  draw(dc);
  ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
  SetGraphicsMode(dc, GM_COMPATIBLE);
  SelectObject(dc, old);
  ImageList_AddMasked(images, bitmap, kMaskColour);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

HIMAGELIST CreatePictureList(int width, int height, UINT dpi, int count) {
  HIMAGELIST images =
      ImageList_Create(ScaleToDpi(width, dpi), ScaleToDpi(height, dpi), ILC_COLOR24 | ILC_MASK, count, 0);
  if (!images) throw AppError("Cannot create the button pictures.");
  return images;
}

int AddButtonPicture(HIMAGELIST images, ButtonPicture picture, UINT dpi) {
  AddDrawnPicture(
      images, kPictureWidth, kPictureHeight,
      [picture](HDC dc) {
        DrawGlyph(dc, picture, 0, ColourOf(picture));
        DrawGlyph(dc, picture, kGlyph, GetSysColor(COLOR_GRAYTEXT));
      },
      dpi);
  return ImageList_GetImageCount(images) - 1;
}

HIMAGELIST CreateCaptionPictures(ButtonPicture picture, int size, UINT dpi) {
  // Normal, hot, pressed, disabled, default, stylus-hot: the states a button
  // asks its list for when it holds six.
  constexpr int kStates = 6;
  constexpr int kDisabled = 3;  // PBS_DISABLED, counted from 1
  HIMAGELIST images = CreatePictureList(size, size, dpi, kStates);
  for (int state = 0; state < kStates; ++state) {
    const COLORREF colour = state == kDisabled ? GetSysColor(COLOR_GRAYTEXT) : ColourOf(picture);
    AddDrawnPicture(
        images, size, size,
        [picture, size, colour](HDC dc) {
          // The glyphs are drawn in a square of their own design size.
          const float toSize = static_cast<float>(size) / static_cast<float>(kGlyph);
          const XFORM scale{toSize, 0.0F, 0.0F, toSize, 0.0F, 0.0F};
          ModifyWorldTransform(dc, &scale, MWT_LEFTMULTIPLY);
          DrawGlyph(dc, picture, 0, colour);
        },
        dpi);
  }
  return images;
}

void DrawButton(HIMAGELIST images, HWND button, int index) {
  SetPropW(button, kIndexProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(index + 1)));
  if (IsToolButton(button)) {
    // Drawn from the list whenever it paints (DrawToolButton).
    SetPropW(button, kImagesProperty, reinterpret_cast<HANDLE>(images));
    InvalidateRect(button, nullptr, TRUE);
    return;
  }
  // The normal glyph, the left half of the picture, on the button's face.
  const int size = GlyphSize(images);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP glyph = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = SelectObject(dc, glyph);
  RECT face{0, 0, size, size};
  FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
  ImageList_Draw(images, index, dc, 0, 0, ILD_TRANSPARENT);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  auto previous = reinterpret_cast<HGDIOBJ>(
      SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph)));
  if (previous && previous != glyph) DeleteObject(previous);
}

int ButtonPictureIndex(HWND button) {
  return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(button, kIndexProperty))) - 1;
}

void FreeButtonPicture(HWND button) {
  RemovePropW(button, kIndexProperty);
  if (RemovePropW(button, kImagesProperty)) return;  // a tool button holds no glyph of its own
  auto glyph = reinterpret_cast<HGDIOBJ>(SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, 0));
  if (glyph) DeleteObject(glyph);
}

void DrawToolButton(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT face = item.rcItem;
  FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  if (pressed) DrawEdge(dc, &face, BDR_SUNKENOUTER, BF_RECT);
  auto images = reinterpret_cast<HIMAGELIST>(GetPropW(item.hwndItem, kImagesProperty));
  const int index = ButtonPictureIndex(item.hwndItem);
  if (!images || index < 0) return;
  const int size = GlyphSize(images);
  const int shift = pressed ? 1 : 0;
  const int x = face.left + (face.right - face.left - size) / 2 + shift;
  const int y = face.top + (face.bottom - face.top - size) / 2 + shift;
  // The picture holds the normal glyph and then the greyed one: the clip
  // shows the one the button's state asks for.
  const bool greyed = (item.itemState & ODS_DISABLED) != 0;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, x, y, x + size, y + size);
  ImageList_Draw(images, index, dc, greyed ? x - size : x, y, ILD_TRANSPARENT);
  RestoreDC(dc, saved);
}

}  // namespace discovel
