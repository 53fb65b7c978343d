#pragma once
// A Canvas that keeps its shapes as shapes, so a picture painted on an SVG or PDF device scales
// for print and stays editable: every ellipse, arc and text becomes one QPainter call, and the
// lines that continue one another with the same pen (a curve, an outline) become one polyline, so
// a drawing program can pick the curve as one object. It follows QPainterCanvas's pixel rules as
// closely as a vector device can: a stroke runs through the centres of the pixels QPainterCanvas
// lights, an ellipse through the centres of its box's outer pixels, text sits with its cell's
// top-left corner on the given point, and a single pixel is a filled unit square.

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QString>
#include <vector>

#include "canvas.h"
#include "painter_canvas.h"

namespace vek1 {

class VectorCanvas final : public Canvas {
 public:
  // Paints through `painter`, already begun on its device and given whatever transform maps the
  // picture's pixels onto it. Nothing is drawn outside the `size` pixels of the picture.
  VectorCanvas(QPainter& painter, CanvasSize size);
  // Draws the line still being collected, while the painter is still active.
  ~VectorCanvas() override;
  VectorCanvas(const VectorCanvas&) = delete;
  VectorCanvas& operator=(const VectorCanvas&) = delete;

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
  void setClip(const CanvasClip& clip) override;
  void clearClip() override;

  // Draws the polyline collected so far. The destructor does it too; a caller that ends the
  // painter while the canvas lives (a print, which reports QPainter::end's result) calls this
  // first, since nothing can be drawn once the painter has ended.
  void finish();

 private:
  void usePen();
  // Whether a line from the polyline's end on to (x, y) may join it with the current pen.
  bool joinsSquarely(int x, int y) const;
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

  // The polyline being collected: its points as they go to the device, and the drawing points
  // its last line ran from and to.
  std::vector<QPointF> run_;
  int runFromX_ = 0, runFromY_ = 0;
  int runEndX_ = 0, runEndY_ = 0;

  QColor fontColour_{Qt::black};
  int fontPixels_;
  FontStyle fontStyle_;
};

}  // namespace vek1
