#pragma once
// The canvas the windows and the picture export paint through: onto a QImage or any other
// QPaintDevice.

#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QString>
#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "canvas.h"
#include "glyph_cache.h"
#include "numbers.h"

class QPaintDevice;

namespace vek1 {

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
// need the end point left out; and a whole frame is drawn on every tick (about 60 a second, and
// the budget is a quarter of a millisecond), where writing pixels straight into a 32-bit image is
// many times faster than QPainter's general paths (a large circle costs it tens of microseconds).
// The QPainter clears the surface and draws each character once into a cache. On a device that is
// not a 32-bit QImage the same pixels are handed to the QPainter as points, so every device shows
// the same picture.
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
  void setPixels(Rgb colour, std::span<const CanvasPixel> pixels) override;
  void setFontColour(Rgb colour) override;
  void setFontSize(int points) override;
  void setFontStyle(FontStyle style) override;
  void textOut(int x, int y, std::string_view text) override;
  void setClip(const CanvasClip& clip) override;
  void clearClip() override;

  // The font textOut uses for the current size and style (for callers that need its metrics).
  QFont currentFont() const;

 private:
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
  int device(int v) const {
    return scale_ == 1.0 ? v : roundHalfEven(static_cast<double>(v) * scale_);
  }
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
  GlyphFace& face();

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
  CanvasClip deviceClip_;       // the clip in device pixels
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
  GlyphFace* face_ = nullptr;  // the face of the current size and style, once looked up
  QString textBuffer_;
};

}  // namespace vek1
