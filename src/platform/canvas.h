#pragma once
// The drawing surface every picture of the program is painted through. Drawing functions take a
// Canvas& and know nothing of widgets: the window paints through QPainterCanvas
// (painter_canvas.h, its pixel rules in raster_geometry.h and its characters in glyph_cache.h),
// tests check the exact calls through RecordingCanvas (recording_canvas.h), and the vector
// export draws through vector_canvas.h.
//
// The primitives keep the pixel rules the pictures were designed for:
// - a line is drawn from the current position up to, but not including, its end point, so a
//   polyline never paints a shared vertex twice and a cross of two strokes has a clean centre;
// - an ellipse or arc is given by its bounding box whose right and bottom edges are exclusive;
// - an arc runs counter-clockwise on screen from the radial through (x3, y3) to the radial
//   through (x4, y4); equal radials give the whole ellipse;
// - the brush is always clear: shapes are outlines and text has no background;
// - text is placed by the top-left corner of its first character cell.
// All coordinates are whole pixels of the surface, y growing downwards.

#include <QFont>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "workspace.h"  // Rgb

namespace vek1 {

struct CanvasSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const CanvasSize&, const CanvasSize&) = default;
};

struct CanvasPixel {
  int x = 0, y = 0;
};

struct FontStyle {
  bool bold = false;
  bool italic = false;
  friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

// Where lines, shapes and pixels may be drawn: inside [left, right) x [top, bottom) but not inside
// the cut-out box (empty by default), in drawing pixels. Texts are never clipped.
struct CanvasClip {
  int left = 0, top = 0, right = 0, bottom = 0;
  int cutLeft = 0, cutTop = 0, cutRight = 0, cutBottom = 0;
  bool contains(int x, int y) const {
    return x >= left && x < right && y >= top && y < bottom &&
           !(x >= cutLeft && x < cutRight && y >= cutTop && y < cutBottom);
  }
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Until clearClip(), what is drawn stays inside `clip`. A canvas that keeps calls rather than
  // pixels (the recording one) keeps the clip as state and leaves the calls whole.
  virtual void setClip(const CanvasClip& clip) = 0;
  virtual void clearClip() = 0;

  virtual CanvasSize size() const = 0;
  // Fills the whole surface with one colour (a fresh frame starts blank).
  virtual void clear(Rgb colour) = 0;

  virtual void setPenColour(Rgb colour) = 0;
  // Widths below 1 draw as 1.
  virtual void setPenWidth(int width) = 0;
  virtual void moveTo(int x, int y) = 0;
  // Draws from the current position towards (x, y), leaving (x, y) itself unpainted for a pen of
  // width 1, then makes (x, y) the current position. A wider pen covers the end point too.
  virtual void lineTo(int x, int y) = 0;
  virtual void ellipse(int left, int top, int right, int bottom) = 0;
  virtual void arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
  virtual void setPixel(int x, int y, Rgb colour) = 0;
  // Many pixels of one colour, the same as setPixel on each in turn (the steam display sets
  // thousands a frame, and a canvas may set them faster together).
  virtual void setPixels(Rgb colour, std::span<const CanvasPixel> pixels) {
    for (const CanvasPixel& p : pixels) setPixel(p.x, p.y, colour);
  }

  virtual void setFontColour(Rgb colour) = 0;
  virtual void setFontSize(int points) = 0;
  virtual void setFontStyle(FontStyle style) = 0;
  // `text` is UTF-8.
  virtual void textOut(int x, int y, std::string_view text) = 0;
};

// The pixel size of a font of `points` points (at the 96 dots per inch the layouts were made for,
// held to a sane range), and the face every canvas draws its texts in.
constexpr int kDefaultCanvasFontPoints = 8;
// Pens wider than this are drawn at this width; nothing the program draws comes near it.
constexpr int kMaxPenWidth = 64;
// Font pixel sizes are held to 1 .. kMaxCanvasFontPixels.
constexpr int kMaxCanvasFontPixels = 400;
int canvasFontPixels(int points);
QFont canvasFont(int pixels, FontStyle style);
// The room the table pictures give a UTF-8 text, which the canvas cannot measure: `charWidth`
// pixels a character (continuation bytes start none), held to at most `most` pixels.
int cellTextWidth(std::string_view text, int charWidth, int most);

}  // namespace vek1
