#pragma once
// A picture kept as the calls that drew it, so it can be painted again on another surface (an
// export, a print) without running the drawing, which moves the gear and the diagrams' state.

#include <vector>

#include "canvas.h"
#include "recording_canvas.h"

namespace vek1 {

// Makes every recorded call again on `target`, in order.
void replayCalls(const std::vector<DrawCall>& calls, Canvas& target);

// Hands every call to two canvases: the one shown, and one that keeps a copy. The size is the
// first one's.
class TeeCanvas final : public Canvas {
 public:
  TeeCanvas(Canvas& first, Canvas& second) : a_(first), b_(second) {}

  CanvasSize size() const override { return a_.size(); }
  void clear(Rgb colour) override { a_.clear(colour), b_.clear(colour); }
  void setClip(const CanvasClip& clip) override { a_.setClip(clip), b_.setClip(clip); }
  void clearClip() override { a_.clearClip(), b_.clearClip(); }
  void setPenColour(Rgb colour) override { a_.setPenColour(colour), b_.setPenColour(colour); }
  void setPenWidth(int width) override { a_.setPenWidth(width), b_.setPenWidth(width); }
  void moveTo(int x, int y) override { a_.moveTo(x, y), b_.moveTo(x, y); }
  void lineTo(int x, int y) override { a_.lineTo(x, y), b_.lineTo(x, y); }
  void ellipse(int left, int top, int right, int bottom) override {
    a_.ellipse(left, top, right, bottom);
    b_.ellipse(left, top, right, bottom);
  }
  void arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override {
    a_.arc(left, top, right, bottom, x3, y3, x4, y4);
    b_.arc(left, top, right, bottom, x3, y3, x4, y4);
  }
  void setPixel(int x, int y, Rgb colour) override {
    a_.setPixel(x, y, colour);
    b_.setPixel(x, y, colour);
  }
  void setFontColour(Rgb colour) override { a_.setFontColour(colour), b_.setFontColour(colour); }
  void setFontSize(int points) override { a_.setFontSize(points), b_.setFontSize(points); }
  void setFontStyle(FontStyle style) override { a_.setFontStyle(style), b_.setFontStyle(style); }
  void textOut(int x, int y, std::string_view text) override {
    a_.textOut(x, y, text);
    b_.textOut(x, y, text);
  }

 private:
  Canvas& a_;
  Canvas& b_;
};

}  // namespace vek1
