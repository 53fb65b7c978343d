#include "fit_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "canvas.h"
#include "recording_canvas.h"
#include "mechanism_drawing.h"
#include "outlines.h"
#include "solver.h"
#include "valve.h"
#include "view.h"

namespace vek1 {

namespace {

// Crank angles sampled over the turn: the rods' extremes fall between samples by less than a
// pixel at any sensible zoom, and the margin covers that.
constexpr int kSamples = 72;

struct Extent {
  double left = std::numeric_limits<double>::infinity();
  double top = std::numeric_limits<double>::infinity();
  double right = -std::numeric_limits<double>::infinity();
  double bottom = -std::numeric_limits<double>::infinity();
  void add(double x, double y) {
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  bool usable() const {
    return std::isfinite(left) && std::isfinite(right) && std::isfinite(top) &&
           std::isfinite(bottom) && right > left && bottom > top;
  }
};

}  // namespace

std::optional<ViewTriple> fittedView(const Workspace& ws, PixelBox area) {
  if (area.width() <= 0 || area.height() <= 0) return std::nullopt;
  const double zoom = ws.ViewZoom, panX = ws.ViewPanX, panY = ws.ViewPanY;
  if (!(zoom > 0.0) || !std::isfinite(panX) || !std::isfinite(panY)) return std::nullopt;

  // What the view draws, in model units: each recorded pixel taken back through the view.
  Workspace pose = ws;
  Extent model;
  for (int k = 0; k < kSamples; ++k) {
    pose.DriverAngle = static_cast<float>(k * 360.0 / kSamples);
    SolveGearAndValve(pose);
    RecordingCanvas canvas;
    drawMechanism(canvas, pose, projectPivots(pose), UpdateOutlines(pose));
    for (const DrawCall& c : canvas.calls()) {
      if (c.kind != DrawKind::LineTo && c.kind != DrawKind::Ellipse && c.kind != DrawKind::Arc)
        continue;
      for (auto [x, y] : {std::pair{c.x1, c.y1}, std::pair{c.x2, c.y2}})
        model.add((x - panX) / zoom, -(y - panY) / zoom);
    }
  }
  if (!model.usable()) return std::nullopt;

  const double width = area.width() * (1.0 - 2.0 * kFitMargin);
  const double height = area.height() * (1.0 - 2.0 * kFitMargin);
  // Model V grows upwards: its extent's "top" here is the smallest V.
  const double fit = std::min(width / (model.right - model.left), height / (model.bottom - model.top));
  if (!std::isfinite(fit)) return std::nullopt;
  ViewTriple view;
  view.Zoom = static_cast<float>(std::clamp(fit, double(kMinZoom), double(kMaxZoom)));
  const double centreH = 0.5 * (model.left + model.right);
  const double centreV = 0.5 * (model.top + model.bottom);
  view.PanX = static_cast<float>(0.5 * (area.left + area.right) - centreH * view.Zoom);
  view.PanY = static_cast<float>(0.5 * (area.top + area.bottom) + centreV * view.Zoom);
  if (!std::isfinite(view.PanX) || !std::isfinite(view.PanY)) return std::nullopt;
  return view;
}

}  // namespace vek1
