#include "vector_canvas.h"

#include <QRegion>

#include <QFontMetrics>
#include <QLineF>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace vek1 {

namespace {

// Box corners are held to this range before they reach the device. Far beyond any picture, a
// shape of this size is indistinguishable from a larger one inside the picture, and vector
// renderers lose precision on coordinates near their number range.
constexpr double kShapeLimit = 4'194'304.0;

QColor toColour(Rgb c) {
  return QColor(std::clamp(c.r, 0, 255), std::clamp(c.g, 0, 255), std::clamp(c.b, 0, 255));
}

struct ClippedSegment {
  QLineF line;
  bool cutStart = false;  // the start lay outside the box and was moved onto its edge
  bool cutEnd = false;
};

// Cuts the segment (x0, y0)-(x1, y1) to the box from (left, top) to (right, bottom)
// (Liang-Barsky); nothing if it misses the box.
std::optional<ClippedSegment> clipSegment(double x0, double y0, double x1, double y1, double left,
                                          double top, double right, double bottom) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return std::nullopt;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return std::nullopt;
  }
  return ClippedSegment{QLineF(x0 + t0 * dx, y0 + t0 * dy, x0 + t1 * dx, y0 + t1 * dy), t0 > 0.0,
                        t1 < 1.0};
}

// The ellipse of a box whose right and bottom edges are exclusive, as the raster canvas draws
// it: through the centres of the outermost pixels. Null for an empty box.
std::optional<QRectF> outlineRect(int left, int top, int right, int bottom) {
  double l = left, t = top, r = right, b = bottom;
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  if (r == l || b == t) return std::nullopt;
  l = std::clamp(l, -kShapeLimit, kShapeLimit);
  r = std::clamp(r, -kShapeLimit, kShapeLimit);
  t = std::clamp(t, -kShapeLimit, kShapeLimit);
  b = std::clamp(b, -kShapeLimit, kShapeLimit);
  return QRectF(l, t, r - 1 - l, b - 1 - t);
}

// Counter-clockwise screen angle, in degrees, of the radial through (x, y) on the box's ellipse
// scaled to a circle; the raster canvas ends its arcs on the same radials.
double radialAngle(int left, int top, int right, int bottom, int x, int y) {
  const double l = std::min(left, right), r = std::max(left, right);
  const double t = std::min(top, bottom), b = std::max(top, bottom);
  const double rx = std::max((r - 1 - l) / 2, 0.5), ry = std::max((b - 1 - t) / 2, 0.5);
  const double u = (x - (l + (r - 1 - l) / 2)) / rx;
  const double v = ((t + (b - 1 - t) / 2) - y) / ry;
  if (u == 0 && v == 0) return 0.0;
  return std::atan2(v, u) * 180.0 / std::numbers::pi;
}

}  // namespace

VectorCanvas::VectorCanvas(QPainter& painter, CanvasSize size)
    : painter_(painter),
      size_{std::max(size.width, 0), std::max(size.height, 0)},
      fontPixels_(canvasFontPixels(kDefaultCanvasFontPoints)) {
  if (!painter_.isActive()) return;
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBrush(Qt::NoBrush);
  painter_.setClipRect(QRect(0, 0, size_.width, size_.height));
}

VectorCanvas::~VectorCanvas() {
  finish();
}

void VectorCanvas::finish() {
  // An outline that comes back to its start stays a polyline ending where it began: the SVG
  // writer keeps no closing of a path, so a polygon would get the line's ends at its first
  // corner all the same, and there they are where the pixel rules put them.
  if (run_.size() >= 2 && painter_.isActive()) {
    usePen();
    painter_.drawPolyline(run_.data(), static_cast<int>(run_.size()));
  }
  run_.clear();
}

void VectorCanvas::clear(Rgb colour) {
  finish();
  if (!painter_.isActive()) return;
  painter_.fillRect(QRect(0, 0, size_.width, size_.height), toColour(colour));
}

void VectorCanvas::setClip(const CanvasClip& c) {
  // The polyline so far was drawn under the old clip.
  finish();
  if (!painter_.isActive()) return;
  const QRegion inside = QRegion(QRect(0, 0, size_.width, size_.height))
                             .intersected(QRect(c.left, c.top, c.right - c.left, c.bottom - c.top));
  const QRegion cut(QRect(c.cutLeft, c.cutTop, c.cutRight - c.cutLeft, c.cutBottom - c.cutTop));
  painter_.setClipRegion(inside.subtracted(cut));
}

void VectorCanvas::clearClip() {
  finish();
  if (!painter_.isActive()) return;
  painter_.setClipRect(QRect(0, 0, size_.width, size_.height));
}

void VectorCanvas::setPenColour(Rgb colour) {
  const QColor c = toColour(colour);
  if (c == penColour_) return;
  finish();
  penColour_ = c;
  penDirty_ = true;
}

void VectorCanvas::setPenWidth(int width) {
  const int w = std::clamp(width, 1, kMaxPenWidth);
  if (w == penWidth_) return;
  finish();
  penWidth_ = w;
  penDirty_ = true;
}

void VectorCanvas::usePen() {
  if (!penDirty_) return;
  penDirty_ = false;
  // A one-pixel line leaves its end pixel out, as a flat end does; a wider pen is a square nib
  // that covers the end point, as a square end does. Where the lines of a polyline meet, a round
  // join stays within half a pixel of the shared pixel's centre, so it lights no other pixel; a
  // wider pen's lines are joined only where a mitred corner covers what two square ends did.
  QPen pen(penColour_, penWidth_, Qt::SolidLine, penWidth_ == 1 ? Qt::FlatCap : Qt::SquareCap,
           penWidth_ == 1 ? Qt::RoundJoin : Qt::MiterJoin);
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
}

void VectorCanvas::moveTo(int x, int y) {
  // Drawings often start each line with a move to where the last one ended; only a move
  // elsewhere ends the polyline.
  if (x != curX_ || y != curY_) finish();
  curX_ = x;
  curY_ = y;
}

bool VectorCanvas::joinsSquarely(int x, int y) const {
  if (penWidth_ == 1) return true;
  // Two square ends at a shared point cover what a mitred corner does when the lines go on
  // straight or turn a right angle; at any other angle the corner would gain or lose a sliver.
  // The differences are exact in doubles, and so are their products for lines of any length a
  // picture can show; only lines far off the picture might be judged a hair off, and there a
  // hair shows nothing.
  const double ax = static_cast<double>(runEndX_) - runFromX_;
  const double ay = static_cast<double>(runEndY_) - runFromY_;
  const double bx = static_cast<double>(x) - runEndX_;
  const double by = static_cast<double>(y) - runEndY_;
  const double dot = ax * bx + ay * by, cross = ax * by - ay * bx;
  return dot == 0 || (cross == 0 && dot > 0);
}

void VectorCanvas::lineTo(int x, int y) {
  const int x0 = curX_, y0 = curY_;
  curX_ = x;
  curY_ = y;
  if (!painter_.isActive()) return;
  if (x == x0 && y == y0) {
    // No length: a thin pen paints nothing, a wide one its square nib.
    if (penWidth_ > 1 && x > -penWidth_ && y > -penWidth_ && x < size_.width + penWidth_ &&
        y < size_.height + penWidth_) {
      finish();
      painter_.fillRect(QRectF(x - penWidth_ / 2, y - penWidth_ / 2, penWidth_, penWidth_),
                        penColour_);
    }
    return;
  }
  const double o = strokeOffset();
  // A one-pixel line covers its start pixel and stops short of its end pixel: the stroke runs
  // half a pixel (along the major axis) behind each pixel centre. A wider pen's square ends
  // reach over both ends already.
  double bx = 0, by = 0;
  if (penWidth_ == 1) {
    const double major =
        std::max(std::abs(static_cast<double>(x) - x0), std::abs(static_cast<double>(y) - y0));
    if (major > 0) {
      bx = 0.5 * (static_cast<double>(x) - x0) / major;
      by = 0.5 * (static_cast<double>(y) - y0) / major;
    }
  }
  // Only the part that can show is kept, so a line reaching far off the picture neither
  // overflows a renderer nor bloats the file.
  const double margin = penWidth_ + 2.0;
  const auto segment = clipSegment(x0 + o - bx, y0 + o - by, x + o - bx, y + o - by, -margin,
                                   -margin, size_.width + margin, size_.height + margin);
  if (!segment) {
    finish();
    return;
  }
  const bool continues = !run_.empty() && runEndX_ == x0 && runEndY_ == y0 && !segment->cutStart &&
                         joinsSquarely(x, y);
  if (continues) {
    // The polyline turns at the centre of the pixel the two lines share. Shifting a one-pixel
    // stroke along its own direction leaves the band of pixels it crosses as it was and moves
    // only its ends, and the shared pixel is the next line's start, which it covers anyway: a
    // turn through that pixel's centre lights the pixels the two lines lit apart.
    run_.back() = QPointF(x0 + o, y0 + o);
    run_.push_back(segment->line.p2());
  } else {
    finish();
    run_ = {segment->line.p1(), segment->line.p2()};
  }
  runFromX_ = x0;
  runFromY_ = y0;
  runEndX_ = x;
  runEndY_ = y;
  // A line cut at its end left the picture: what comes back is another polyline.
  if (segment->cutEnd) finish();
}

void VectorCanvas::ellipse(int left, int top, int right, int bottom) {
  finish();
  const auto rect = outlineRect(left, top, right, bottom);
  if (!rect || !painter_.isActive()) return;
  usePen();
  const double o = strokeOffset();
  painter_.drawEllipse(rect->translated(o, o));
}

void VectorCanvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  finish();
  const auto rect = outlineRect(left, top, right, bottom);
  if (!rect || !painter_.isActive()) return;
  const double start = radialAngle(left, top, right, bottom, x3, y3);
  double span = radialAngle(left, top, right, bottom, x4, y4) - start;
  while (span <= 0) span += 360.0;  // equal radials give the whole ellipse
  usePen();
  const double o = strokeOffset();
  const QRectF box = rect->translated(o, o);
  QPainterPath path;
  path.arcMoveTo(box, start);
  path.arcTo(box, start, span);
  painter_.drawPath(path);
}

void VectorCanvas::setPixel(int x, int y, Rgb colour) {
  finish();
  if (!painter_.isActive() || x < 0 || y < 0 || x >= size_.width || y >= size_.height) return;
  painter_.fillRect(QRectF(x, y, 1, 1), toColour(colour));
}

void VectorCanvas::setFontColour(Rgb colour) {
  fontColour_ = toColour(colour);
}

void VectorCanvas::setFontSize(int points) {
  fontPixels_ = canvasFontPixels(points);
}

void VectorCanvas::setFontStyle(FontStyle style) {
  fontStyle_ = style;
}

void VectorCanvas::textOut(int x, int y, std::string_view text) {
  finish();
  if (!painter_.isActive() || text.empty()) return;
  if (y >= size_.height || x >= size_.width || static_cast<long long>(y) + 4 * fontPixels_ < 0)
    return;
  QFont font = canvasFont(fontPixels_, fontStyle_);
  // Without shaping the PDF holds one glyph per character, so a text copied from it reads as
  // written: shaped, "Offset" would come out with the "ff" ligature character. The raster
  // canvas draws character by character and never forms ligatures either.
  font.setStyleStrategy(
      static_cast<QFont::StyleStrategy>(font.styleStrategy() | QFont::PreferNoShaping));
  const QFontMetrics metrics(font);
  painter_.setFont(font);
  painter_.setPen(fontColour_);
  penDirty_ = true;
  painter_.drawText(QPointF(x, static_cast<double>(y) + metrics.ascent()),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace vek1
