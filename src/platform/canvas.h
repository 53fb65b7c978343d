#pragma once
// The drawing surface every picture of the program is painted through. Drawing functions take a
// Canvas& and know nothing of widgets: the window paints through QPainterCanvas, tests check the
// exact calls through RecordingCanvas, and the command-line tool renders without a window.
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
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QString>
#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace.h"  // Rgb

class QImage;
class QPaintDevice;

namespace vek1 {

struct CanvasSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const CanvasSize&, const CanvasSize&) = default;
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

  virtual void setFontColour(Rgb colour) = 0;
  virtual void setFontSize(int points) = 0;
  virtual void setFontStyle(FontStyle style) = 0;
  // `text` is UTF-8.
  virtual void textOut(int x, int y, std::string_view text) = 0;
};

// The pixel size of a font of `points` points (at the 96 dots per inch the layouts were made for,
// held to a sane range), and the face every canvas draws its texts in.
constexpr int kDefaultCanvasFontPoints = 8;
int canvasFontPixels(int points);
QFont canvasFont(int pixels, FontStyle style);
// The room the table pictures give a UTF-8 text, which the canvas cannot measure: `charWidth`
// pixels a character (continuation bytes start none), held to at most `most` pixels.
int cellTextWidth(std::string_view text, int charWidth, int most);

// What a reused frame image holds besides its background: the bounds of everything drawn since it
// was last cleared. A canvas given one clears only those bounds, which on a large image that is
// mostly background saves most of the cost of a frame. Start with `whole` set (the image's content
// is unknown) and draw on the image only through canvases that share the same DirtyArea.
struct DirtyArea {
  bool whole = true;
  Rgb background;
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

// Paints on a QImage or any other QPaintDevice, without antialiasing.
//
// Lines, outlines, pixels and text are rasterised here rather than by QPainter, for two reasons:
// QPainter's lines leave out the pixel at the larger coordinate whatever the direction, where we
// need the end point left out; and a whole frame is drawn on every tick (about 60 a second, and the budget is a quarter of a millisecond), where writing pixels
// straight into a 32-bit image is many times faster than QPainter's general paths (a large circle
// costs it tens of microseconds). The QPainter clears the surface and draws each character once
// into a cache. On a device that is not a 32-bit QImage the same pixels are handed to the QPainter
// as points, so every device shows the same picture.
//
// `scale` is the number of device pixels per drawing unit (the screen's device pixel ratio): the
// callers keep their pixel coordinates, and on a surface of twice the size every line, outline and
// character is rasterised again at the finer pitch, so it stays sharp instead of being doubled.
class QPainterCanvas final : public Canvas {
 public:
  explicit QPainterCanvas(QPaintDevice& device, DirtyArea* dirty = nullptr, double scale = 1.0);
  ~QPainterCanvas() override;
  QPainterCanvas(const QPainterCanvas&) = delete;
  QPainterCanvas& operator=(const QPainterCanvas&) = delete;

  // In drawing units.
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

  // The font textOut uses for the current size and style (for callers that need its metrics).
  QFont currentFont() const;

 private:
  struct Face;

  // Pixels outside the surface, or outside the clip, are dropped.
  void plot(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    if (clipped_ && !deviceClip_.contains(x, y)) return;
    if (bits_) {
      reinterpret_cast<std::uint32_t*>(bits_ + y * bytesPerLine_)[x] = plotColour_;
      if (x < minX_) minX_ = x;
      if (x > maxX_) maxX_ = x;
      if (y < minY_) minY_ = y;
      if (y > maxY_) maxY_ = y;
    } else {
      points_.emplace_back(x, y);
    }
  }
  struct DeviceBox {
    int left, top, right, bottom;
  };
  // An ellipse's box in device pixels, for the outline that covers the same drawing pixels.
  std::optional<DeviceBox> deviceBox(int left, int top, int right, int bottom) const;
  // A drawing coordinate in device pixels.
  int device(int v) const;
  // The side of one drawing pixel in device pixels, and the device width of the pen.
  int nib() const { return nib_; }
  int devicePenWidth() const;
  void beginPlot(std::uint32_t argb);
  void endPlot();
  void plotLine(int x0, int y0, int x1, int y1);
  // Plots the pixels of the box's ellipse outline for which keep(x, y) holds.
  template <typename Box, typename Keep>
  void plotOutline(const Box& box, Keep&& keep);
  void usePainterPen(std::uint32_t argb);
  void drawTextByPainter(int x, int y, const QString& text);
  Face& face();
  static std::vector<std::unique_ptr<Face>>& faceCache();

  QPainter painter_;
  DirtyArea* dirty_ = nullptr;
  bool cleared_ = false;    // this canvas cleared the image
  bool untracked_ = false;  // something was painted that the bounds below do not cover
  int minX_ = INT_MAX, minY_ = INT_MAX, maxX_ = INT_MIN, maxY_ = INT_MIN;
  int width_ = 0;  // device pixels
  int height_ = 0;
  double scale_ = 1.0;
  int nib_ = 1;
  CanvasSize size_{0, 0};
  unsigned char* bits_ = nullptr;  // 32-bit image memory, or null on other devices
  std::ptrdiff_t bytesPerLine_ = 0;
  std::uint32_t plotColour_ = 0;
  bool clipped_ = false;
  CanvasClip deviceClip_;  // the clip in device pixels
  std::vector<QPoint> points_;  // pixels waiting for the QPainter on other devices

  std::uint32_t penArgb_ = 0xff000000u;
  int penWidth_ = 1;
  int curX_ = 0;
  int curY_ = 0;
  QPen painterPen_;
  std::uint32_t painterPenArgb_ = 0;
  bool painterPenSet_ = false;

  std::uint32_t fontArgb_ = 0xff000000u;
  int fontPixels_ = 0;
  FontStyle fontStyle_;
  Face* face_ = nullptr;  // the face of the current size and style, once looked up
  QString textBuffer_;
};

enum class DrawKind {
  Clear,
  PenColour,
  PenWidth,
  MoveTo,
  LineTo,
  Ellipse,
  Arc,
  Pixel,
  FontColour,
  FontSize,
  FontStyle,
  Text,
};

// One recorded call, with the canvas state at the time of the call.
struct DrawCall {
  DrawKind kind = DrawKind::Clear;
  // MoveTo, Pixel, Text: the point in (x1, y1).
  // LineTo: from the current position (x1, y1) to (x2, y2).
  // Ellipse, Arc: the box (x1, y1, x2, y2) = (left, top, right, bottom); Arc: radials through
  // (x3, y3) and (x4, y4).
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
  // Pen colour for lines and shapes; the pixel's colour for Pixel; the font colour for Text and
  // FontColour; the fill colour for Clear.
  Rgb colour;
  int penWidth = 1;
  std::string text;
  int fontSize = 0;  // points
  FontStyle fontStyle;
};

// Records every call as a value, so tests can check the exact coordinates a drawing uses.
class RecordingCanvas final : public Canvas {
 public:
  explicit RecordingCanvas(int width = 1280, int height = 1024) : size_{width, height} {}

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
  void setClip(const CanvasClip& clip) override { clip_ = clip; }
  void clearClip() override { clip_.reset(); }
  // The clip in force now, if any.
  const std::optional<CanvasClip>& clip() const { return clip_; }

  const std::vector<DrawCall>& calls() const { return calls_; }
  void reset() { calls_.clear(); }

  std::vector<DrawCall> ofKind(DrawKind kind) const;
  std::vector<DrawCall> lines() const { return ofKind(DrawKind::LineTo); }
  std::vector<DrawCall> lines(Rgb colour) const;
  std::vector<DrawCall> texts() const { return ofKind(DrawKind::Text); }
  std::vector<std::string> textStrings() const;
  // The first text call whose text equals `text` (or, for the second form, contains it); null if
  // there is none.
  const DrawCall* findText(std::string_view text) const;
  const DrawCall* findTextContaining(std::string_view part) const;
  // True if some line runs from (x1, y1) to (x2, y2) in that direction.
  bool hasLine(int x1, int y1, int x2, int y2) const;

 private:
  DrawCall& record(DrawKind kind);

  CanvasSize size_;
  std::vector<DrawCall> calls_;
  Rgb penColour_;
  int penWidth_ = 1;
  int curX_ = 0;
  int curY_ = 0;
  Rgb fontColour_;
  int fontSize_ = 8;
  FontStyle fontStyle_;
  std::optional<CanvasClip> clip_;
};

}  // namespace vek1
