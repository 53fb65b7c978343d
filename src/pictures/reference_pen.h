#pragma once
// The pen a reference set is drawn with beneath the working set: a canvas that passes every line
// on to another canvas as short dashes in a lighter shade of the colour asked for, one pixel
// wide, and drops texts, shapes and pixels. A diagram draws the reference's curves by running its
// own sweep on this canvas, so the two sets' curves come from the same code and differ only in
// the pen; the numbers and tables that belong to the working set are not written twice.

#include "canvas.h"

namespace vek1 {

// How much lighter than the working set's pen: the fraction of the way to white.
constexpr double kReferenceLightening = 0.5;
// Dashes and gaps along a line, in drawing pixels.
constexpr double kReferenceDash = 4.0;
constexpr double kReferenceGap = 3.0;

Rgb lighterShade(Rgb colour);

class ReferencePen : public Canvas {
 public:
  explicit ReferencePen(Canvas& target) : target_(target) { target_.setPenWidth(1); }

  void setClip(const CanvasClip& clip) override { target_.setClip(clip); }
  void clearClip() override { target_.clearClip(); }
  CanvasSize size() const override { return target_.size(); }
  void clear(Rgb) override {}
  void setPenColour(Rgb colour) override { target_.setPenColour(lighterShade(colour)); }
  void setPenWidth(int) override {}
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void ellipse(int, int, int, int) override {}
  void arc(int, int, int, int, int, int, int, int) override {}
  void setPixel(int, int, Rgb) override {}
  void setFontColour(Rgb) override {}
  void setFontSize(int) override {}
  void setFontStyle(FontStyle) override {}
  void textOut(int, int, std::string_view) override {}

 private:
  Canvas& target_;
  int x_ = 0, y_ = 0;
  // How far into the dash-and-gap pattern the pen is: a curve drawn as many short segments, each
  // starting where the last ended, keeps one even pattern along its whole length.
  double phase_ = 0.0;
};

// The reference's reverse-arm position at the working set's notch: the same offset from the
// reference's own mid-gear centre as `workingArm` has from the working set's. A reference and a
// working set whose centres differ are compared notch for notch, not at one absolute H.
float referenceArm(const GearSet& ws, const Workspace& reference, double workingArm);

// One dashed line from (x0, y0) to (x1, y1) on `canvas` in its current pen, starting `phase`
// pixels into the pattern; returns the phase at the end.
double dashedLine(Canvas& canvas, int x0, int y0, int x1, int y1, double phase);

}  // namespace vek1
