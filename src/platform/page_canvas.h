#pragma once
// Draws one part of a larger picture onto a canvas of the part's size: every call is shifted by
// the part's top-left corner, so the drawing keeps its own coordinates and its pixel rules, and
// the picture's own background fills can be left out (for a transparent page).

#include <algorithm>
#include <climits>

#include "canvas.h"

namespace vek1 {

struct PagePart {
  int left = 0, top = 0;
  CanvasSize size;
};

class PageCanvas final : public Canvas {
 public:
  PageCanvas(Canvas& target, const PagePart& part, bool keepBackground)
      : target_(target), part_(part), keepBackground_(keepBackground) {}

  // The drawing's own coordinates reach to the part's far edges: a drawing that bounds itself by
  // the surface (the main view's gear clip) then bounds itself where the part ends, not short of
  // it by the part's offset.
  CanvasSize size() const override {
    return {part_.left + part_.size.width, part_.top + part_.size.height};
  }
  void clear(Rgb colour) override {
    if (keepBackground_) target_.clear(colour);
  }
  void setClip(const CanvasClip& c) override {
    target_.setClip({shift(c.left, part_.left), shift(c.top, part_.top), shift(c.right, part_.left),
                     shift(c.bottom, part_.top), shift(c.cutLeft, part_.left),
                     shift(c.cutTop, part_.top), shift(c.cutRight, part_.left),
                     shift(c.cutBottom, part_.top)});
  }
  void clearClip() override { target_.clearClip(); }
  void setPenColour(Rgb colour) override { target_.setPenColour(colour); }
  void setPenWidth(int width) override { target_.setPenWidth(width); }
  void moveTo(int x, int y) override { target_.moveTo(shift(x, part_.left), shift(y, part_.top)); }
  void lineTo(int x, int y) override { target_.lineTo(shift(x, part_.left), shift(y, part_.top)); }
  void ellipse(int left, int top, int right, int bottom) override {
    target_.ellipse(shift(left, part_.left), shift(top, part_.top), shift(right, part_.left),
                    shift(bottom, part_.top));
  }
  void arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override {
    target_.arc(shift(left, part_.left), shift(top, part_.top), shift(right, part_.left),
                shift(bottom, part_.top), shift(x3, part_.left), shift(y3, part_.top),
                shift(x4, part_.left), shift(y4, part_.top));
  }
  void setPixel(int x, int y, Rgb colour) override {
    target_.setPixel(shift(x, part_.left), shift(y, part_.top), colour);
  }
  void setFontColour(Rgb colour) override { target_.setFontColour(colour); }
  void setFontSize(int points) override { target_.setFontSize(points); }
  void setFontStyle(FontStyle style) override { target_.setFontStyle(style); }
  void textOut(int x, int y, std::string_view text) override {
    target_.textOut(shift(x, part_.left), shift(y, part_.top), text);
  }

 private:
  // Saturates instead of overflowing: a far-off point of a damaged set stays far off.
  static int shift(int v, int by) {
    const long long moved = static_cast<long long>(v) - by;
    return static_cast<int>(std::clamp<long long>(moved, INT_MIN, INT_MAX));
  }

  Canvas& target_;
  PagePart part_;
  bool keepBackground_;
};

}  // namespace vek1
