#pragma once
// One-dimensional searches on a bracketing interval, for functions that are costly to evaluate
// (each value is a whole solve of the gear): Brent's root finder and Brent's extremum search.
// Both combine inverse interpolation, which converges in a handful of steps on smooth output,
// with bisection or golden-section steps that keep them safe on a rough or flat stretch.

#include <algorithm>
#include <cmath>
#include <limits>

namespace vek1 {

// Every loop is bounded: a NaN from a broken pose stops the search instead of spinning.
constexpr int kMaxSearchSteps = 100;

// A root of f in [a, b], where fa = f(a) and fb = f(b) lie on opposite sides of 0 (or one is 0).
// Returns a point within about `tol` of a sign change of f.
template <class F>
double brentRoot(F&& f, double a, double fa, double b, double fb, double tol) {
  constexpr double kEps = std::numeric_limits<double>::epsilon();
  double c = a, fc = fa;
  double d = b - a, e = d;
  for (int step = 0; step < kMaxSearchSteps; ++step) {
    if ((fb > 0.0 && fc > 0.0) || (fb < 0.0 && fc < 0.0)) {
      c = a;
      fc = fa;
      d = e = b - a;
    }
    if (std::fabs(fc) < std::fabs(fb)) {
      a = b;
      b = c;
      c = a;
      fa = fb;
      fb = fc;
      fc = fa;
    }
    const double tol1 = 2.0 * kEps * std::fabs(b) + 0.5 * tol;
    const double xm = 0.5 * (c - b);
    if (std::fabs(xm) <= tol1 || fb == 0.0 || !std::isfinite(fb)) return b;
    if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
      // Inverse interpolation: secant through two points, inverse quadratic through three.
      const double s = fb / fa;
      double p, q;
      if (a == c) {
        p = 2.0 * xm * s;
        q = 1.0 - s;
      } else {
        const double qa = fa / fc, r = fb / fc;
        p = s * (2.0 * xm * qa * (qa - r) - (b - a) * (r - 1.0));
        q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
      }
      if (p > 0.0) q = -q;
      p = std::fabs(p);
      if (2.0 * p < std::min(3.0 * xm * q - std::fabs(tol1 * q), std::fabs(e * q))) {
        e = d;
        d = p / q;
      } else {
        d = e = xm;  // the interpolation strays: bisect
      }
    } else {
      d = e = xm;
    }
    a = b;
    fa = fb;
    b += std::fabs(d) > tol1 ? d : std::copysign(tol1, xm);
    fb = f(b);
  }
  return b;
}

// The point of largest f in [a, b], starting from x inside it, with the three values f(a),
// f(x), f(b) already known (typically three neighbouring samples of a grid, the middle one the
// largest). Returns a point within about `tol` of a local maximum.
template <class F>
double brentMax(F&& f, double a, double fa, double x, double fx, double b, double fb, double tol) {
  constexpr double kGolden = 0.3819660112501051;  // (3 - sqrt 5) / 2
  // Work on -f, as the textbook minimiser does. v and w are the two previous best points; the
  // ends of the bracket seed them, so the first step is already a parabola through the samples.
  double v = a, w = b, fv = -fa, fw = -fb;
  fx = -fx;
  double d = 0.0, e = b - a;
  for (int step = 0; step < kMaxSearchSteps; ++step) {
    const double xm = 0.5 * (a + b);
    const double tol1 = tol, tol2 = 2.0 * tol1;
    if (std::fabs(x - xm) <= tol2 - 0.5 * (b - a)) break;
    bool golden = true;
    if (std::fabs(e) > tol1) {
      const double r = (x - w) * (fx - fv);
      double q = (x - v) * (fx - fw);
      double p = (x - v) * q - (x - w) * r;
      q = 2.0 * (q - r);
      if (q > 0.0)
        p = -p;
      else
        q = -q;
      const double previous = e;
      e = d;
      if (std::fabs(p) < std::fabs(0.5 * q * previous) && p > q * (a - x) && p < q * (b - x)) {
        d = p / q;
        const double u = x + d;
        if (u - a < tol2 || b - u < tol2) d = xm >= x ? tol1 : -tol1;
        golden = false;
      }
    }
    if (golden) {
      e = x >= xm ? a - x : b - x;
      d = kGolden * e;
    }
    const double u = std::fabs(d) >= tol1 ? x + d : x + std::copysign(tol1, d);
    const double fu = -f(u);
    if (!std::isfinite(fu)) break;
    if (fu <= fx) {
      if (u >= x)
        a = x;
      else
        b = x;
      v = w;
      fv = fw;
      w = x;
      fw = fx;
      x = u;
      fx = fu;
    } else {
      if (u < x)
        a = u;
      else
        b = u;
      if (fu <= fw || w == x) {
        v = w;
        fv = fw;
        w = u;
        fw = fu;
      } else if (fu <= fv || v == x || v == w) {
        v = u;
        fv = fu;
      }
    }
  }
  return x;
}

}  // namespace vek1
