#include "canvas.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>

#include "numbers.h"

namespace vek1 {

namespace {

// Coordinates are held to this range before a line is stepped, so that the products in the
// stepping fit in 64 bits. A line reaching further is far outside any surface; it is drawn as if
// it ended at the limit.
constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 29;

// Pens wider than this are drawn at this width; nothing the program draws comes near it.
constexpr int kMaxPenWidth = 64;

// Font sizes are turned into pixels at the 96 dots per inch the layouts were designed for,
// whatever the device reports, so texts take the same room on every screen and in every image.
constexpr double kDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;
constexpr int kMaxFontPixels = 400;

constexpr double kMinScale = 1.0;
constexpr double kMaxScale = 8.0;

std::uint32_t toArgb(Rgb c) {
  const auto channel = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
  return 0xff000000u | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

int fontPixelsFor(int points) {
  return canvasFontPixels(points);
}

QFont makeFont(int pixels, FontStyle style) {
  QFont font = canvasFont(pixels, style);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// Steps a line from (x0, y0) towards (x1, y1) and calls plot(x, y) for each pixel that lies in
// [xMin, xMax) x [yMin, yMax). The end pixel is included only when `includeEnd` is set.
//
// Along the major axis every pixel from the start is visited; the minor coordinate is the ideal
// line's, rounded to the nearest pixel. Where the ideal line passes exactly between two pixels the
// one with the smaller coordinate is taken, whichever way the line runs, so a segment drawn in
// either direction lights the same pixels between its ends. Only the part of the major axis inside
// the clip range is visited, so a line of any length costs at most one pass across the surface.
template <typename Plot>
void stepLine(int x0, int y0, int x1, int y1, bool includeEnd, int xMin, int xMax, int yMin,
              int yMax, Plot&& plot) {
  const auto limit = [](int v) {
    return std::clamp<std::int64_t>(v, -kCoordinateLimit, kCoordinateLimit);
  };
  const std::int64_t ax0 = limit(x0), ay0 = limit(y0);
  const std::int64_t dx = limit(x1) - ax0, dy = limit(y1) - ay0;
  const bool xMajor = std::abs(dx) >= std::abs(dy);

  // (a, b) = (major, minor) coordinates.
  const std::int64_t a0 = xMajor ? ax0 : ay0, b0 = xMajor ? ay0 : ax0;
  const std::int64_t da = xMajor ? dx : dy, db = xMajor ? dy : dx;
  const std::int64_t aMin = xMajor ? xMin : yMin, aMax = xMajor ? xMax : yMax;
  const std::int64_t bMin = xMajor ? yMin : xMin, bMax = xMajor ? yMax : xMax;
  const auto put = [&](std::int64_t a, std::int64_t b) {
    if (xMajor) {
      plot(static_cast<int>(a), static_cast<int>(b));
    } else {
      plot(static_cast<int>(b), static_cast<int>(a));
    }
  };

  const std::int64_t n = std::abs(da);
  if (n == 0) {
    if (includeEnd && a0 >= aMin && a0 < aMax && b0 >= bMin && b0 < bMax) put(a0, b0);
    return;
  }
  const std::int64_t sa = da > 0 ? 1 : -1, sb = db >= 0 ? 1 : -1;
  const std::int64_t adb = std::abs(db);
  if (adb == 0 && (b0 < bMin || b0 >= bMax)) return;
  // Stepping towards smaller minor coordinates, a tie rounds the offset up, which is the smaller
  // coordinate; stepping towards larger ones it rounds down.
  const bool tieUp = sb < 0;

  // Steps i in [first, last] keep the major coordinate a0 + i * sa inside [aMin, aMax).
  const std::int64_t lastStep = includeEnd ? n : n - 1;
  std::int64_t first, last;
  if (sa > 0) {
    first = std::max<std::int64_t>(0, aMin - a0);
    last = std::min(lastStep, aMax - 1 - a0);
  } else {
    first = std::max<std::int64_t>(0, a0 - (aMax - 1));
    last = std::min(lastStep, a0 - aMin);
  }
  if (first > last) return;

  // Minor offset m at step i is i * adb / n rounded; e = 2 i adb - (2m + 1) n tracks when the
  // ideal line crosses the next half-pixel boundary.
  std::int64_t m = tieUp ? (2 * first * adb + n) / (2 * n) : (2 * first * adb + n - 1) / (2 * n);
  std::int64_t e = 2 * first * adb - (2 * m + 1) * n;
  for (std::int64_t i = first; i <= last; ++i) {
    const std::int64_t b = b0 + sb * m;
    if (b >= bMin && b < bMax) {
      put(a0 + sa * i, b);
    } else if ((sb > 0 && b >= bMax) || (sb < 0 && b < bMin)) {
      break;  // moving further away from the surface
    }
    e += 2 * adb;
    if (tieUp ? e >= 0 : e > 0) {
      ++m;
      e -= 2 * n;
    }
  }
}

}  // namespace

int canvasFontPixels(int points) {
  return std::clamp(roundHalfEven(points * kDotsPerInch / kPointsPerInch), 1, kMaxFontPixels);
}

int cellTextWidth(std::string_view text, int charWidth, int most) {
  const auto chars = std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
  });
  return static_cast<int>(std::min<std::ptrdiff_t>(chars, most / charWidth)) * charWidth;
}

QFont canvasFont(int pixels, FontStyle style) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  font.setBold(style.bold);
  font.setItalic(style.italic);
  // Characters stand at whole-pixel advances without kerning, as a character-cell text output
  // places them; every backend lays text out the same way.
  font.setKerning(false);
  return font;
}

// A font at one pixel size and style, with the pixels of each character drawn so far. Text is
// drawn character by character at whole-pixel advances, without kerning, as a character-cell
// text output does.
struct QPainterCanvas::Face {
  struct Glyph {
    int advance = 0;
    std::vector<std::int16_t> offsets;  // (dx, dy) pairs from the top-left of the character cell
  };

  int pixels = 0;
  FontStyle style;
  int ascent = 0;
  std::array<std::optional<Glyph>, 128> ascii;
  std::unordered_map<char16_t, Glyph> others;

  const Glyph& glyph(char16_t c) {
    if (c < ascii.size()) {
      auto& slot = ascii[c];
      if (!slot) slot = render(c);
      return *slot;
    }
    auto it = others.find(c);
    if (it == others.end()) it = others.emplace(c, render(c)).first;
    return it->second;
  }

  Glyph render(char16_t c) const {
    const QFont font = makeFont(pixels, style);
    const QFontMetrics metrics(font);
    const QString text(QChar{c});
    Glyph glyph;
    glyph.advance = metrics.horizontalAdvance(text);
    // Room for italic overhang and for characters that reach left of their origin.
    const int margin = pixels + 2;
    QImage image(std::max(glyph.advance, 0) + 2 * margin, metrics.height() + 2 * margin,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::TextAntialiasing, false);
      painter.setFont(font);
      painter.setPen(Qt::black);
      painter.drawText(QPoint(margin, margin + ascent), text);
    }
    for (int y = 0; y < image.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(row[x]) < 128) {
          glyph.offsets.push_back(static_cast<std::int16_t>(x - margin));
          glyph.offsets.push_back(static_cast<std::int16_t>(y - margin));
        }
      }
    }
    return glyph;
  }
};

// The character pixels depend only on the font and the character, and the window draws a fresh
// canvas every frame, so they are kept for the life of the program rather than per canvas.
std::vector<std::unique_ptr<QPainterCanvas::Face>>& QPainterCanvas::faceCache() {
  static std::vector<std::unique_ptr<Face>> faces;
  return faces;
}

QPainterCanvas::QPainterCanvas(QPaintDevice& device, DirtyArea* dirty, double scale)
    : dirty_(dirty), fontPixels_(fontPixelsFor(kDefaultCanvasFontPoints)) {
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
  deviceClip_ = {device(clip.left),    device(clip.top),    device(clip.right),
                 device(clip.bottom),  device(clip.cutLeft), device(clip.cutTop),
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

int QPainterCanvas::device(int v) const {
  if (scale_ == 1.0) return v;
  return roundHalfEven(static_cast<double>(v) * scale_);
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

namespace {

// The outline of the ellipse inscribed in a box whose right and bottom edges are exclusive: its
// pixel centres span columns left .. right - 1 and rows top .. bottom - 1, so the centre and the
// half axes may be half pixels. Coordinates are doubled where they must stay exact.
struct EllipseBox {
  std::int64_t left = 0, top = 0;
  std::int64_t width = 0, height = 0;  // between the outermost pixel centres
  double cx = 0, cy = 0, rx = 0, ry = 0;

  // Boxes given the wrong way round are turned round; an empty box gives nothing.
  static std::optional<EllipseBox> of(int left, int top, int right, int bottom) {
    std::int64_t l = left, t = top, r = right, b = bottom;
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    if (r == l || b == t) return std::nullopt;
    EllipseBox box;
    box.left = l;
    box.top = t;
    box.width = r - 1 - l;
    box.height = b - 1 - t;
    box.rx = static_cast<double>(box.width) / 2;
    box.ry = static_cast<double>(box.height) / 2;
    box.cx = static_cast<double>(l) + box.rx;
    box.cy = static_cast<double>(t) + box.ry;
    return box;
  }
};

// Beyond this many steps outside the surface, a walk round an outline jumps to where the outline
// enters the surface instead of stepping there. Only outlines far larger than the surface come
// near it; the jump lands on the pixel nearest the curve, where the walk itself would be.
constexpr std::int64_t kLongestBlindWalk = 4096;

// Calls visit(x, y) once for each pixel of the outline with x in [xMin, xMax) and y in
// [yMin, yMax).
//
// Each quarter is walked from its top or bottom pixel to its side pixel, one pixel at a time:
// sideways, diagonally or upright, whichever lands nearest the ideal curve. That gives a thin,
// unbroken outline at every size, including where the slope passes 45 degrees between two
// pixels. The quarters are mirror images, so the outline is exactly symmetric. Positions are
// counted in half pixels from the centre, which lies on a pixel or between pixels.
template <typename Visit>
void traceEllipse(const EllipseBox& box, std::int64_t xMin, std::int64_t xMax, std::int64_t yMin,
                  std::int64_t yMax, Visit&& visit) {
  if (box.width == 0 || box.height == 0) {  // a box one pixel wide or high: a straight stroke
    for (std::int64_t y = std::max(box.top, yMin); y <= std::min(box.top + box.height, yMax - 1);
         ++y) {
      for (std::int64_t x = std::max(box.left, xMin); x <= std::min(box.left + box.width, xMax - 1);
           ++x) {
        visit(x, y);
      }
    }
    return;
  }
  const double a = box.rx, b = box.ry;
  const std::int64_t twiceCx = 2 * box.left + box.width, twiceCy = 2 * box.top + box.height;
  // Offsets of pixel centres from the centre, in half pixels, have the parity of the box size.
  const std::int64_t pFirst = box.width % 2, sFirst = box.height % 2;
  // The nearest offset of that parity to a distance d >= 0 given in pixels, not below `first`.
  const auto nearestOffset = [](double d, std::int64_t first) {
    const double steps = std::floor((2 * d - static_cast<double>(first)) / 2 + 0.5);
    return first + 2 * static_cast<std::int64_t>(std::max(0.0, steps));
  };
  const auto heightAt = [&](std::int64_t p) {  // curve height over offset p, in pixels
    const double u = static_cast<double>(p) / 2 / a;
    return b * std::sqrt(std::max(0.0, 1 - u * u));
  };
  const auto widthAt = [&](std::int64_t s) {
    const double v = static_cast<double>(s) / 2 / b;
    return a * std::sqrt(std::max(0.0, 1 - v * v));
  };
  // How far (p, s) lies off the curve, squared: the ellipse's equation divided by its gradient,
  // which is the distance to first order even where the ellipse is narrow.
  const double aa = a * a, bb = b * b, aabb = aa * bb;
  const auto offCurve = [&](std::int64_t p, std::int64_t s) {
    const double x = static_cast<double>(p) / 2, y = static_cast<double>(s) / 2;
    const double f = bb * x * x + aa * y * y - aabb;
    const double gx = bb * x, gy = aa * y;
    const double g2 = gx * gx + gy * gy;
    return g2 > 0 ? f * f / g2 : f * f;
  };
  const std::int64_t sTop = nearestOffset(heightAt(pFirst), sFirst);
  const std::int64_t pSide = nearestOffset(widthAt(sFirst), pFirst);

  // Quarters by direction: x = cx + sx * p, y = cy - sy * s.
  constexpr std::array<std::pair<int, int>, 4> kQuarters{{{1, 1}, {-1, 1}, {-1, -1}, {1, -1}}};
  for (const auto& [sx, sy] : kQuarters) {
    // Walking on, p grows and s shrinks. The part inside the clip starts where p reaches
    // pEnter and s has come down to sEnter, and ends where p passes pLeave or s passes sLeave.
    const std::int64_t pEnter = sx > 0 ? 2 * xMin - twiceCx : twiceCx - 2 * (xMax - 1);
    const std::int64_t pLeave = sx > 0 ? 2 * (xMax - 1) - twiceCx : twiceCx - 2 * xMin;
    const std::int64_t sEnter = sy > 0 ? twiceCy - 2 * yMin : 2 * (yMax - 1) - twiceCy;
    const std::int64_t sLeave = sy > 0 ? twiceCy - 2 * (yMax - 1) : 2 * yMin - twiceCy;

    std::int64_t p = pFirst, s = sTop;
    const std::int64_t blind =
        std::max<std::int64_t>(0, pEnter - p) + std::max<std::int64_t>(0, s - sEnter);
    if (blind > 2 * kLongestBlindWalk) {
      if (pEnter > p) {
        p = nearestOffset(static_cast<double>(pEnter) / 2, pFirst);
        if (p < pEnter) p += 2;
        s = nearestOffset(heightAt(p), sFirst);
      }
      if (s > sEnter) {
        s = sEnter - ((sEnter - sFirst) % 2 != 0 ? 1 : 0);
        if (s < sFirst) continue;  // the whole quarter passes below the clip
        p = std::max(p, nearestOffset(widthAt(s), pFirst));
      }
      p = std::min(p, pSide);
    }
    while (true) {
      if (p > pLeave || s < sLeave) break;
      // Pixels on an axis belong to the first quarter that reaches them.
      const bool mirrored = (sx < 0 && p == 0) || (sy < 0 && s == 0);
      if (p >= pEnter && s <= sEnter && !mirrored) {
        visit((twiceCx + sx * p) / 2, (twiceCy - sy * s) / 2);
      }
      if (p >= pSide && s <= sFirst) break;
      if (p >= pSide) {
        s -= 2;
      } else if (s <= sFirst) {
        p += 2;
      } else {
        const double side = offCurve(p + 2, s), diagonal = offCurve(p + 2, s - 2),
                     down = offCurve(p, s - 2);
        if (diagonal <= side && diagonal <= down) {
          p += 2;
          s -= 2;
        } else if (side < down) {
          p += 2;
        } else {
          s -= 2;
        }
      }
    }
  }
}

// Which outline pixels belong to an arc that runs counter-clockwise on screen from the radial
// through one point to the radial through another. Directions are compared on the ellipse
// scaled to a circle, where the radial through a point meets the outline at the same angle as
// the point lies, so an arc of an ellipse ends exactly on its radials as it does on a circle.
class ArcSpan {
 public:
  ArcSpan(const EllipseBox& box, int x3, int y3, int x4, int y4) : box_(box) {
    const auto [su, sv] = direction(x3, y3);
    const auto [eu, ev] = direction(x4, y4);
    su_ = su, sv_ = sv, eu_ = eu, ev_ = ev;
    const double turn = su * ev - sv * eu;  // > 0: the end lies less than half a turn on
    if (turn > 0) {
      kind_ = Kind::Short;
    } else if (turn < 0) {
      kind_ = Kind::Long;
    } else {
      kind_ = su * eu + sv * ev > 0 ? Kind::Whole : Kind::Half;
    }
  }

  bool contains(std::int64_t x, std::int64_t y) const {
    if (kind_ == Kind::Whole) return true;
    const auto [u, v] = direction(static_cast<double>(x), static_cast<double>(y));
    const bool afterStart = su_ * v - sv_ * u >= 0;
    const bool beforeEnd = u * ev_ - v * eu_ >= 0;
    switch (kind_) {
      case Kind::Short:
        return afterStart && beforeEnd;
      case Kind::Half:
        return afterStart;
      default:
        return afterStart || beforeEnd;
    }
  }

 private:
  enum class Kind { Whole, Short, Half, Long };

  // Direction from the centre with y turned upwards and the axes scaled to a circle. A radial
  // point on the centre itself counts as pointing east.
  std::pair<double, double> direction(double x, double y) const {
    const double u = (x - box_.cx) / std::max(box_.rx, 0.5);
    const double v = (box_.cy - y) / std::max(box_.ry, 0.5);
    if (u == 0 && v == 0) return {1.0, 0.0};
    return {u, v};
  }

  const EllipseBox& box_;
  double su_ = 1, sv_ = 0, eu_ = 1, ev_ = 0;
  Kind kind_ = Kind::Whole;
};

}  // namespace

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
  const int pixels = fontPixelsFor(points);
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
  return makeFont(fontPixels_, fontStyle_);
}

QPainterCanvas::Face& QPainterCanvas::face() {
  if (face_) return *face_;
  auto& faces = faceCache();
  const int pixels = std::clamp(roundHalfEven(fontPixels_ * scale_), 1, kMaxFontPixels * 8);
  for (auto& f : faces) {
    if (f->pixels == pixels && f->style == fontStyle_) return *(face_ = f.get());
  }
  auto created = std::make_unique<Face>();
  created->pixels = pixels;
  created->style = fontStyle_;
  created->ascent = QFontMetrics(makeFont(pixels, fontStyle_)).ascent();
  face_ = created.get();
  faces.push_back(std::move(created));
  return *face_;
}

void QPainterCanvas::drawTextByPainter(int x, int y, const QString& text) {
  untracked_ = true;
  usePainterPen(fontArgb_);
  painter_.setFont(makeFont(face().pixels, fontStyle_));
  painter_.drawText(QPointF(x, static_cast<double>(y) + face().ascent), text);
}

void QPainterCanvas::textOut(int x, int y, std::string_view text) {
  if (!painter_.isActive() || text.empty()) return;
  x = device(x);
  y = device(y);
  Face& f = face();
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
    const Face::Glyph& g = f.glyph(c);
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

// --- RecordingCanvas ---

DrawCall& RecordingCanvas::record(DrawKind kind) {
  DrawCall& call = calls_.emplace_back();
  call.kind = kind;
  call.colour = penColour_;
  call.penWidth = penWidth_;
  call.fontSize = fontSize_;
  call.fontStyle = fontStyle_;
  return call;
}

void RecordingCanvas::clear(Rgb colour) {
  record(DrawKind::Clear).colour = colour;
}

void RecordingCanvas::setPenColour(Rgb colour) {
  penColour_ = colour;
  record(DrawKind::PenColour);
}

void RecordingCanvas::setPenWidth(int width) {
  penWidth_ = std::clamp(width, 1, kMaxPenWidth);
  record(DrawKind::PenWidth);
}

void RecordingCanvas::moveTo(int x, int y) {
  curX_ = x;
  curY_ = y;
  DrawCall& call = record(DrawKind::MoveTo);
  call.x1 = x;
  call.y1 = y;
}

void RecordingCanvas::lineTo(int x, int y) {
  DrawCall& call = record(DrawKind::LineTo);
  call.x1 = curX_;
  call.y1 = curY_;
  call.x2 = x;
  call.y2 = y;
  curX_ = x;
  curY_ = y;
}

void RecordingCanvas::ellipse(int left, int top, int right, int bottom) {
  DrawCall& call = record(DrawKind::Ellipse);
  call.x1 = left;
  call.y1 = top;
  call.x2 = right;
  call.y2 = bottom;
}

void RecordingCanvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4,
                          int y4) {
  DrawCall& call = record(DrawKind::Arc);
  call.x1 = left;
  call.y1 = top;
  call.x2 = right;
  call.y2 = bottom;
  call.x3 = x3;
  call.y3 = y3;
  call.x4 = x4;
  call.y4 = y4;
}

void RecordingCanvas::setPixel(int x, int y, Rgb colour) {
  DrawCall& call = record(DrawKind::Pixel);
  call.x1 = x;
  call.y1 = y;
  call.colour = colour;
}

void RecordingCanvas::setFontColour(Rgb colour) {
  fontColour_ = colour;
  record(DrawKind::FontColour).colour = colour;
}

void RecordingCanvas::setFontSize(int points) {
  fontSize_ = points;
  record(DrawKind::FontSize);
}

void RecordingCanvas::setFontStyle(FontStyle style) {
  fontStyle_ = style;
  record(DrawKind::FontStyle);
}

void RecordingCanvas::textOut(int x, int y, std::string_view text) {
  DrawCall& call = record(DrawKind::Text);
  call.x1 = x;
  call.y1 = y;
  call.colour = fontColour_;
  call.text = std::string(text);
}

std::vector<DrawCall> RecordingCanvas::ofKind(DrawKind kind) const {
  std::vector<DrawCall> result;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result),
               [kind](const DrawCall& c) { return c.kind == kind; });
  return result;
}

std::vector<DrawCall> RecordingCanvas::lines(Rgb colour) const {
  std::vector<DrawCall> result;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result), [colour](const auto& c) {
    return c.kind == DrawKind::LineTo && c.colour == colour;
  });
  return result;
}

std::vector<std::string> RecordingCanvas::textStrings() const {
  std::vector<std::string> result;
  for (const auto& c : calls_) {
    if (c.kind == DrawKind::Text) result.push_back(c.text);
  }
  return result;
}

const DrawCall* RecordingCanvas::findText(std::string_view text) const {
  for (const auto& c : calls_) {
    if (c.kind == DrawKind::Text && c.text == text) return &c;
  }
  return nullptr;
}

const DrawCall* RecordingCanvas::findTextContaining(std::string_view part) const {
  for (const auto& c : calls_) {
    if (c.kind == DrawKind::Text && c.text.find(part) != std::string::npos) return &c;
  }
  return nullptr;
}

bool RecordingCanvas::hasLine(int x1, int y1, int x2, int y2) const {
  return std::any_of(calls_.begin(), calls_.end(), [&](const DrawCall& c) {
    return c.kind == DrawKind::LineTo && c.x1 == x1 && c.y1 == y1 && c.x2 == x2 && c.y2 == y2;
  });
}

}  // namespace vek1
