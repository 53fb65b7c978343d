#pragma once
// The pixel geometry of the painter canvas: which pixels a line, an ellipse's outline and an arc
// light, in integer arithmetic that stays exact and bounded for any coordinates. Kept apart from
// the canvas so the rules can be read, and tested, without a paint device.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

namespace vek1::raster {

// Coordinates are held to this range before a line is stepped, so that the products in the
// stepping fit in 64 bits. A line reaching further is far outside any surface; it is drawn as if
// it ended at the limit.
constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 29;

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

}  // namespace vek1::raster
