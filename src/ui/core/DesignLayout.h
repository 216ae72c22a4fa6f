#pragma once
// Sizes and positions are designed at 96 DPI ("design units") and scaled to
// the DPI a window is shown at. A control keeps its design rectangle and
// anchors; where it lies in pixels follows from those, the size of its
// parent's client area and the DPI, by the one rule below.

namespace discovel {

inline constexpr unsigned kDesignDpi = 96;

// `design` design units in pixels at `dpi`, rounded to the nearest pixel
// (halves away from zero), so that a length and its negative agree.
int ScaleToDpi(int design, unsigned dpi);
// The other way: `pixels` at `dpi` in design units, rounded the same way.
int ScaleFromDpi(int pixels, unsigned dpi);
// The least design length whose pixels at `dpi` cover `pixels`: room for a
// control whose height follows its font (a status bar).
int DesignCovering(int pixels, unsigned dpi);

struct DesignRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct DesignSize {
  int width = 0;
  int height = 0;
};

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelRect&) const = default;
};

// Which edges of its parent a control keeps its design distance to. Left and
// right together stretch it with the parent; right alone moves it along.
enum Anchor : unsigned {
  kAnchorLeft = 1,
  kAnchorTop = 2,
  kAnchorRight = 4,
  kAnchorBottom = 8,
  kAnchorTopLeft = kAnchorLeft | kAnchorTop,
  kAnchorTopRight = kAnchorRight | kAnchorTop,
  kAnchorBottomRight = kAnchorRight | kAnchorBottom,
  kAnchorTopWide = kAnchorLeft | kAnchorTop | kAnchorRight,
  kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom,
  // Not laid out by its form: its wrapper places it (a status bar).
  kPlacedByOwner = 0x100,
};

// `rect` in pixels at `dpi`, edge by edge.
PixelRect ScaleRect(const DesignRect& rect, unsigned dpi);

// Where a control with design rectangle `rect` and `anchors` lies in a client
// area of `clientWidth` x `clientHeight` pixels whose design size is
// `designClient`, at `dpi`. A stretched length never goes below zero. The
// edges are scaled (not the lengths): what touches in design units touches.
PixelRect PlaceInClient(const DesignRect& rect, unsigned anchors, DesignSize designClient, int clientWidth,
                        int clientHeight, unsigned dpi);

}  // namespace discovel
