#pragma once
// A Canvas that keeps its shapes as shapes: every line, ellipse, arc and text becomes one QPainter
// call, so a picture painted on an SVG or PDF device scales for print and stays editable. It
// follows QPainterCanvas's pixel rules as closely as a vector device can: a stroke runs through
// the centres of the pixels QPainterCanvas lights, an ellipse through the centres of its box's
// outer pixels, text sits with its cell's top-left corner on the given point, and a single pixel
// is a filled unit square.

#include <QColor>
#include <QPainter>
#include <QString>

#include "canvas.h"

namespace vek1 {

class VectorCanvas final : public Canvas {
 public:
  // Paints through `painter`, already begun on its device and given whatever transform maps the
  // picture's pixels onto it. Nothing is drawn outside the `size` pixels of the picture.
  VectorCanvas(QPainter& painter, CanvasSize size);

  CanvasSize size() const override { return size_; }
  void clear(Rgb colour) override;
  void setPenColour(Rgb colour) override;
  void setPenWidth(int width) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void ellipse(int left, int top, int right, int bottom) override;
  void arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
  void setPixel(int x, int y, Rgb colour) override;
  void setFontColour(Rgb colour) override;
  void setFontSize(int points) override;
  void setFontStyle(FontStyle style) override;
  void textOut(int x, int y, std::string_view text) override;

 private:
  void usePen();
  // Where a stroke's centre line runs relative to a pixel's top-left corner: through the pixel's
  // centre for an odd pen width, on its corner for an even one (the nib reaches back w/2).
  double strokeOffset() const { return penWidth_ % 2 ? 0.5 : 0.0; }

  QPainter& painter_;
  CanvasSize size_;
  QColor penColour_{Qt::black};
  int penWidth_ = 1;
  bool penDirty_ = true;
  int curX_ = 0;
  int curY_ = 0;
  QColor fontColour_{Qt::black};
  int fontPixels_;
  FontStyle fontStyle_;
};

}  // namespace vek1
