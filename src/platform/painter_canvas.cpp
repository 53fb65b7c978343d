#include "painter_canvas.h"

#include <QColor>
#include <QImage>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "numbers.h"
#include "raster_geometry.h"

namespace vek1 {

using raster::ArcSpan;
using raster::EllipseBox;
using raster::stepLine;
using raster::traceEllipse;

namespace {

constexpr double kMinScale = 1.0;
constexpr double kMaxScale = 8.0;

std::uint32_t toArgb(Rgb c) {
  const auto channel = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
  return 0xff000000u | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

}  // namespace

QPainterCanvas::QPainterCanvas(QPaintDevice& device, DirtyArea* dirty, double scale)
    : dirty_(dirty), fontPixels_(canvasFontPixels(kDefaultCanvasFontPoints)) {
  // Ratios outside what any screen uses would only make every pixel a large block, or nothing.
  scale_ = std::isfinite(scale) ? std::clamp(scale, kMinScale, kMaxScale) : 1.0;
  nib_ = std::max(1, roundHalfEven(scale_));
  // An empty or unusable device: every call draws nothing.
  if (device.width() <= 0 || device.height() <= 0 || !painter_.begin(&device)) return;
  width_ = device.width();
  height_ = device.height();
  size_ = {static_cast<int>(width_ / scale_), static_cast<int>(height_ / scale_)};
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setBrush(Qt::NoBrush);
  // Single pixels only: the canvas plots every pixel itself on devices it cannot write to.
  painterPen_.setWidth(1);
  painterPen_.setCapStyle(Qt::FlatCap);
  painterPen_.setCosmetic(true);
  if (device.devType() == QInternal::Image) {
    auto& image = static_cast<QImage&>(device);
    const auto format = image.format();
    if ((format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied) &&
        image.devicePixelRatio() == 1.0) {
      // The painter has made the image data its own by now, so this pointer stays valid and
      // writes through it land in the same pixels the painter paints.
      bits_ = image.bits();
      bytesPerLine_ = image.bytesPerLine();
    }
  }
  points_.reserve(1024);
}

QPainterCanvas::~QPainterCanvas() {
  if (painter_.isActive()) painter_.end();
  if (!dirty_) return;
  if (untracked_ || !bits_) {
    dirty_->whole = true;
    return;
  }
  if (!cleared_ && dirty_->whole) return;  // the image was never cleared through the area
  if (minX_ > maxX_) return;               // nothing drawn: the area stays as it was
  if (!cleared_ && dirty_->right > dirty_->left) {
    minX_ = std::min(minX_, dirty_->left);
    minY_ = std::min(minY_, dirty_->top);
    maxX_ = std::max(maxX_, dirty_->right - 1);
    maxY_ = std::max(maxY_, dirty_->bottom - 1);
  }
  dirty_->left = minX_;
  dirty_->top = minY_;
  dirty_->right = maxX_ + 1;
  dirty_->bottom = maxY_ + 1;
}

void QPainterCanvas::clear(Rgb colour) {
  if (!painter_.isActive()) return;
  const QColor fill = QColor::fromRgb(toArgb(colour));
  if (dirty_ && bits_ && !dirty_->whole && dirty_->background == colour) {
    // Everything outside the drawn bounds is background already.
    const QRect drawn(dirty_->left, dirty_->top, dirty_->right - dirty_->left,
                      dirty_->bottom - dirty_->top);
    if (!drawn.isEmpty()) painter_.fillRect(drawn.intersected(QRect(0, 0, width_, height_)), fill);
  } else {
    painter_.fillRect(QRect(0, 0, width_, height_), fill);
  }
  if (dirty_) {
    dirty_->whole = false;
    dirty_->background = colour;
    dirty_->left = dirty_->top = dirty_->right = dirty_->bottom = 0;
  }
  cleared_ = true;
  untracked_ = false;
  minX_ = minY_ = INT_MAX;
  maxX_ = maxY_ = INT_MIN;
}

void QPainterCanvas::setClip(const CanvasClip& clip) {
  clipped_ = true;
  deviceClip_ = {device(clip.left),     device(clip.top),      device(clip.right),
                 device(clip.bottom),   device(clip.cutLeft),  device(clip.cutTop),
                 device(clip.cutRight), device(clip.cutBottom)};
}

void QPainterCanvas::clearClip() {
  clipped_ = false;
}

void QPainterCanvas::setPenColour(Rgb colour) {
  penArgb_ = toArgb(colour);
}

void QPainterCanvas::setPenWidth(int width) {
  penWidth_ = std::clamp(width, 1, kMaxPenWidth);
}

int QPainterCanvas::devicePenWidth() const {
  return penWidth_ == 1 ? nib_ : std::clamp(roundHalfEven(penWidth_ * scale_), 1, kMaxPenWidth * 8);
}

void QPainterCanvas::moveTo(int x, int y) {
  curX_ = x;
  curY_ = y;
}

void QPainterCanvas::lineTo(int x, int y) {
  plotLine(device(curX_), device(curY_), device(x), device(y));
  curX_ = x;
  curY_ = y;
}

void QPainterCanvas::beginPlot(std::uint32_t argb) {
  plotColour_ = argb;
  points_.clear();
}

void QPainterCanvas::endPlot() {
  if (bits_ || points_.empty()) return;
  usePainterPen(plotColour_);
  painter_.drawPoints(points_.data(), static_cast<int>(points_.size()));
  points_.clear();
}

void QPainterCanvas::plotLine(int x0, int y0, int x1, int y1) {
  beginPlot(penArgb_);
  if (penWidth_ == 1 && nib_ == 1) {
    stepLine(x0, y0, x1, y1, false, 0, width_, 0, height_, [this](int x, int y) { plot(x, y); });
  } else if (penWidth_ == 1) {
    // A thin line on a finer surface steps every device pixel along its length and is one drawing
    // pixel thick across it, so it lies where it lies at the normal pitch and still leaves its end
    // out.
    const int w = nib_;
    const bool across =
        std::abs(static_cast<long long>(x1) - x0) >= std::abs(static_cast<long long>(y1) - y0);
    stepLine(x0, y0, x1, y1, false, -w, width_ + w, -w, height_ + w, [&](int x, int y) {
      for (int d = 0; d < w; ++d) across ? plot(x, y + d) : plot(x + d, y);
    });
  } else {
    // A wide pen is a square nib dragged along the line. It covers the end point as well, as the
    // round caps of a wide pen do.
    const int w = devicePenWidth();
    const int back = w / 2;
    stepLine(x0, y0, x1, y1, true, -w, width_ + w, -w, height_ + w, [&](int x, int y) {
      for (int dy = 0; dy < w; ++dy) {
        for (int dx = 0; dx < w; ++dx) plot(x - back + dx, y - back + dy);
      }
    });
  }
  endPlot();
}

void QPainterCanvas::usePainterPen(std::uint32_t argb) {
  if (painterPenSet_ && argb == painterPenArgb_) return;
  painterPenSet_ = true;
  painterPenArgb_ = argb;
  painterPen_.setColor(QColor::fromRgb(argb));
  painter_.setPen(painterPen_);
}

template <typename Box, typename Keep>
void QPainterCanvas::plotOutline(const Box& box, Keep&& keep) {
  beginPlot(penArgb_);
  if (penWidth_ == 1 && nib_ == 1) {
    traceEllipse(box, 0, width_, 0, height_, [&](std::int64_t x, std::int64_t y) {
      if (keep(x, y)) plot(static_cast<int>(x), static_cast<int>(y));
    });
  } else {
    // The same square nib as for lines, centred on each pixel of the outline (from its corner for
    // the thin pen on a finer surface, whose box was shrunk by the nib for that).
    const int w = devicePenWidth();
    const int back = penWidth_ == 1 ? 0 : w / 2;
    traceEllipse(box, -w, width_ + w, -w, height_ + w, [&](std::int64_t x, std::int64_t y) {
      if (!keep(x, y)) return;
      for (int dy = 0; dy < w; ++dy) {
        for (int dx = 0; dx < w; ++dx) {
          plot(static_cast<int>(x) - back + dx, static_cast<int>(y) - back + dy);
        }
      }
    });
  }
  endPlot();
}

std::optional<QPainterCanvas::DeviceBox> QPainterCanvas::deviceBox(int left, int top, int right,
                                                                   int bottom) const {
  if (nib_ == 1 && scale_ == 1.0) return DeviceBox{left, top, right, bottom};
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right == left || bottom == top) return std::nullopt;
  // The outline's pixels span left .. right - 1; on the finer surface its last drawing pixel is a
  // nib whose corner stands at the device position of right - 1.
  const int inset = penWidth_ == 1 ? nib_ - 1 : 0;
  return DeviceBox{device(left), device(top), std::max(device(left) + 1, device(right) - inset),
                   std::max(device(top) + 1, device(bottom) - inset)};
}

void QPainterCanvas::ellipse(int left, int top, int right, int bottom) {
  const auto d = deviceBox(left, top, right, bottom);
  if (!d) return;
  const auto box = EllipseBox::of(d->left, d->top, d->right, d->bottom);
  if (box) plotOutline(*box, [](std::int64_t, std::int64_t) { return true; });
}

void QPainterCanvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  const auto d = deviceBox(left, top, right, bottom);
  if (!d) return;
  const auto box = EllipseBox::of(d->left, d->top, d->right, d->bottom);
  if (!box) return;
  const ArcSpan span(*box, device(x3), device(y3), device(x4), device(y4));
  plotOutline(*box, [&](std::int64_t x, std::int64_t y) { return span.contains(x, y); });
}

void QPainterCanvas::setPixels(Rgb colour, std::span<const CanvasPixel> pixels) {
  // On an image at the drawing's own pitch each pixel is one store.
  if (bits_ && nib_ == 1 && scale_ == 1.0) {
    plotColour_ = toArgb(colour);
    for (const CanvasPixel& p : pixels) plot(p.x, p.y);
    return;
  }
  for (const CanvasPixel& p : pixels) setPixel(p.x, p.y, colour);
}

void QPainterCanvas::setPixel(int x, int y, Rgb colour) {
  x = device(x);
  y = device(y);
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  beginPlot(toArgb(colour));
  for (int dy = 0; dy < nib_; ++dy) {
    for (int dx = 0; dx < nib_; ++dx) plot(x + dx, y + dy);
  }
  endPlot();
}

void QPainterCanvas::setFontColour(Rgb colour) {
  fontArgb_ = toArgb(colour);
}

void QPainterCanvas::setFontSize(int points) {
  const int pixels = canvasFontPixels(points);
  if (pixels == fontPixels_) return;
  fontPixels_ = pixels;
  face_ = nullptr;
}

void QPainterCanvas::setFontStyle(FontStyle style) {
  if (style == fontStyle_) return;
  fontStyle_ = style;
  face_ = nullptr;
}

QFont QPainterCanvas::currentFont() const {
  return rasterFont(fontPixels_, fontStyle_);
}

GlyphFace& QPainterCanvas::face() {
  if (face_) return *face_;
  const int pixels = std::clamp(roundHalfEven(fontPixels_ * scale_), 1, kMaxCanvasFontPixels * 8);
  return *(face_ = &glyphFace(pixels, fontStyle_));
}

void QPainterCanvas::drawTextByPainter(int x, int y, const QString& text) {
  untracked_ = true;
  usePainterPen(fontArgb_);
  painter_.setFont(rasterFont(face().pixels, fontStyle_));
  painter_.drawText(QPointF(x, static_cast<double>(y) + face().ascent), text);
}

void QPainterCanvas::textOut(int x, int y, std::string_view text) {
  if (!painter_.isActive() || text.empty()) return;
  x = device(x);
  y = device(y);
  GlyphFace& f = face();
  // A text starting below or right of the surface shows nothing; one ending above it neither.
  if (y >= height_ || x >= width_ || static_cast<std::int64_t>(y) + 4 * f.pixels < 0) return;

  const bool ascii = std::all_of(text.begin(), text.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii) {
    textBuffer_ = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // Characters beyond the basic plane need the shaper; such text is rare enough to leave to it.
    if (std::any_of(textBuffer_.begin(), textBuffer_.end(),
                    [](QChar c) { return c.isSurrogate(); })) {
      drawTextByPainter(x, y, textBuffer_);
      return;
    }
  }
  const auto length = ascii ? text.size() : static_cast<std::size_t>(textBuffer_.size());

  beginPlot(fontArgb_);
  std::int64_t penX = x;
  for (std::size_t i = 0; i < length && penX < width_; ++i) {
    const char16_t c = ascii ? static_cast<char16_t>(static_cast<unsigned char>(text[i]))
                             : textBuffer_[static_cast<qsizetype>(i)].unicode();
    const GlyphFace::Glyph& g = f.glyph(c);
    for (std::size_t k = 0; k + 1 < g.offsets.size(); k += 2) {
      const std::int64_t px = penX + g.offsets[k];
      const std::int64_t py = static_cast<std::int64_t>(y) + g.offsets[k + 1];
      if (px >= 0 && px < width_ && py >= 0 && py < height_) {
        plot(static_cast<int>(px), static_cast<int>(py));
      }
    }
    penX += g.advance;
  }
  endPlot();
}

}  // namespace vek1
