#include "ui/core/DesignLayout.h"

#include <algorithm>
#include <cstdint>

namespace discovel {
namespace {

int RoundedRatio(int value, unsigned numerator, unsigned denominator) {
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = denominator / 2;
  const std::int64_t rounded = product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
  return static_cast<int>(rounded);
}

struct Span {
  int position;
  int length;
};

// One axis: the control's design start and length, the parent's design
// extent and its extent in pixels. Edges are scaled, not lengths, so that
// controls that touch in design units touch in pixels, never overlap.
Span PlaceSpan(int start, int length, bool nearEdge, bool farEdge, int designExtent, int pixelExtent,
               unsigned dpi) {
  const int farMargin = designExtent - start - length;
  if (nearEdge && farEdge) {
    const int position = ScaleToDpi(start, dpi);
    return {position, std::max(0, pixelExtent - position - ScaleToDpi(farMargin, dpi))};
  }
  if (farEdge) {
    const int end = pixelExtent - ScaleToDpi(farMargin, dpi);
    const int position = pixelExtent - ScaleToDpi(farMargin + length, dpi);
    return {position, end - position};
  }
  const int position = ScaleToDpi(start, dpi);
  return {position, ScaleToDpi(start + length, dpi) - position};
}

}  // namespace

int ScaleToDpi(int design, unsigned dpi) { return RoundedRatio(design, dpi, kDesignDpi); }

int ScaleFromDpi(int pixels, unsigned dpi) { return dpi == 0 ? pixels : RoundedRatio(pixels, kDesignDpi, dpi); }

int DesignCovering(int pixels, unsigned dpi) {
  int design = ScaleFromDpi(pixels, dpi);
  if (ScaleToDpi(design, dpi) < pixels) ++design;
  return design;
}

PixelRect ScaleRect(const DesignRect& rect, unsigned dpi) {
  const int x = ScaleToDpi(rect.x, dpi);
  const int y = ScaleToDpi(rect.y, dpi);
  return {x, y, ScaleToDpi(rect.x + rect.width, dpi) - x, ScaleToDpi(rect.y + rect.height, dpi) - y};
}

PixelRect PlaceInClient(const DesignRect& rect, unsigned anchors, DesignSize designClient, int clientWidth,
                        int clientHeight, unsigned dpi) {
  const Span across = PlaceSpan(rect.x, rect.width, (anchors & kAnchorLeft) || !(anchors & kAnchorRight),
                                (anchors & kAnchorRight) != 0, designClient.width, clientWidth, dpi);
  const Span down = PlaceSpan(rect.y, rect.height, (anchors & kAnchorTop) || !(anchors & kAnchorBottom),
                              (anchors & kAnchorBottom) != 0, designClient.height, clientHeight, dpi);
  return {across.position, down.position, across.length, down.length};
}

}  // namespace discovel
