#include "view.h"

#include <algorithm>
#include <cmath>

#include "numbers.h"
#include "scrollstep.h"

namespace vek1 {

int screenCoord(double pixels) {
  const int p = roundHalfEven(pixels);
  return p > kScreenLimit ? kScreenLimit : p < -kScreenLimit ? -kScreenLimit : p;
}

int screenX(const Session& ws, double h) {
  return screenCoord(h * ws.ViewZoom + ws.ViewPanX);
}

int screenY(const Session& ws, double v) {
  return screenCoord(-v * ws.ViewZoom + ws.ViewPanY);
}

ScreenPoints projectPivots(const Workspace& ws) {
  ScreenPoints s;
  for (int i = 0; i < kScreenPointCount; ++i) {
    s.X[i] = screenX(ws, ws.Pivots.H[i]);
    s.Y[i] = screenY(ws, ws.Pivots.V[i]);
  }
  return s;
}

ViewTriple CurrentView(const Session& ws) {
  return ViewTriple{ws.ViewZoom, ws.ViewPanX, ws.ViewPanY};
}

void SetCurrentView(Workspace& ws, const ViewTriple& view) {
  ws.ViewZoom = view.Zoom;
  ws.ViewPanX = view.PanX;
  ws.ViewPanY = view.PanY;
}

void ApplyPanVert(Workspace& ws, double step) {
  ws.ViewPanY = toSingle(ws.ViewPanY - step);
  ws.BaseView = CurrentView(ws);
}

void ApplyPanHorz(Workspace& ws, double step) {
  ws.ViewPanX = toSingle(ws.ViewPanX + step);
  ws.BaseView = CurrentView(ws);
}

void ApplyZoom(Workspace& ws, double percent) {
  ws.BaseView = CurrentView(ws);
  const ViewTriple base = ws.BaseView;
  if (ws.ViewZoom > kMaxZoom) ws.ViewZoom = kMaxZoom;
  ws.ViewZoom = toSingle(ws.ViewZoom + static_cast<double>(ws.ViewZoom) * percent * 0.01);
  // Keep the screen point (320, 240) fixed; the pans follow the unclamped zoom.
  ws.ViewPanX = toSingle((base.PanX - 320.0) * ws.ViewZoom / base.Zoom + 320.0);
  ws.ViewPanY =
      toSingle(static_cast<double>(ws.ViewZoom) * (base.PanY - 240.0) / base.Zoom + 240.0);
  if (ws.ViewZoom > kMaxZoom) ws.ViewZoom = kMaxZoom;
  if (ws.ViewZoom < kMinZoom) ws.ViewZoom = kMinZoom;
}

void ZoomAbout(Workspace& ws, double percent, double x, double y) {
  if (!std::isfinite(percent) || !std::isfinite(x) || !std::isfinite(y)) return;
  const ViewTriple before = CurrentView(ws);
  const double zoom = std::clamp(static_cast<double>(before.Zoom) * (1.0 + percent * 0.01),
                                 static_cast<double>(kMinZoom), static_cast<double>(kMaxZoom));
  const float newZoom = toSingle(zoom);
  if (!(before.Zoom > 0.0f) || newZoom == before.Zoom) return;
  // The model point under (x, y) before the step is under it after: pan' = x - (x - pan) z'/z.
  const double ratio = static_cast<double>(newZoom) / before.Zoom;
  ws.ViewZoom = newZoom;
  ws.ViewPanX = toSingle(x - (x - before.PanX) * ratio);
  ws.ViewPanY = toSingle(y - (y - before.PanY) * ratio);
  ws.BaseView = CurrentView(ws);
}

void PanBy(Workspace& ws, double dx, double dy) {
  if (!std::isfinite(dx) || !std::isfinite(dy)) return;
  ws.ViewPanX = toSingle(ws.ViewPanX + dx);
  ws.ViewPanY = toSingle(ws.ViewPanY + dy);
  ws.BaseView = CurrentView(ws);
}

void ViewBarChange(Workspace& ws, ViewBar bar, int p) {
  if (bar < 0 || bar >= kViewBarCount) return;
  AutoCentreMemory& memory = ws.ViewBars[bar];
  const double step = autoCentreCount(p, memory.Last, memory.Prev) / 10.0;
  switch (bar) {
    case PanVertBar:
      ApplyPanVert(ws, step);
      break;
    case PanHorzBar:
      ApplyPanHorz(ws, step);
      break;
    case ZoomBar:
      ApplyZoom(ws, step);
      break;
    default:
      break;
  }
  remember(memory, p);
}

void InitViewPresets(Workspace& ws) {
  ws.ViewPresets = {ViewTriple{0, 0, 0},        ViewTriple{62, 315, 237},
                    ViewTriple{62, 0, 395},     ViewTriple{55, -250, 370},
                    ViewTriple{80, -950, 335},  ViewTriple{350, -5100, 900},
                    ViewTriple{350, -5460, 900}};
}

float ClampGraphicZoom(double typed) {
  if (!(typed >= kMinGraphicZoom)) return kMinGraphicZoom;
  if (typed > kMaxGraphicZoom) return kMaxGraphicZoom;
  return toSingle(typed);
}

}  // namespace vek1
