#pragma once
// The view transform (zoom and two pans), its auto-centring bars, Norm and the presets.

#include "workspace.h"

namespace vek1 {

// Pixel coordinates are held to +-2^28: far beyond any screen, yet a sum or difference of two of
// them, or of one and a radius, cannot overflow an int whatever the dimensions and the zoom.
constexpr int kScreenLimit = 1 << 28;
int screenCoord(double pixels);

// Screen position of a model point: x = round(H * zoom + panX), y = round(-V * zoom + panY).
int screenX(const Session& ws, double h);
int screenY(const Session& ws, double v);
// Screen coordinates of pivot points 0..20.
struct ScreenPoints {
  std::array<int, kScreenPointCount> X{}, Y{};
};
ScreenPoints projectPivots(const Workspace& ws);

// A view bar (pan vertical, pan horizontal, zoom) reports a new position: derives the step
// (tenths of a pixel for the pans, tenths of a percent for the zoom) and applies it. The caller
// then returns the bar to 0, which reports again with p = 0.
void ViewBarChange(Workspace& ws, ViewBar bar, int p);

// Applying one step. Pans refresh the zoom base view; the zoom keeps screen point (320, 240)
// fixed and holds the zoom to [0.5, 3000].
void ApplyPanVert(Workspace& ws, double step);
void ApplyPanHorz(Workspace& ws, double step);
void ApplyZoom(Workspace& ws, double percent);

// The mouse wheel: zooms by `percent` about the screen point (x, y), which stays where it is; the
// zoom is held to the same limits as the zoom bar's, and at a limit the view does not move.
void ZoomAbout(Workspace& ws, double percent, double x, double y);
// Dragging the picture by (dx, dy) pixels.
void PanBy(Workspace& ws, double dx, double dy);

constexpr float kMaxZoom = 3000.0f;
constexpr float kMinZoom = 0.5f;
constexpr float kMinGraphicZoom = 0.5f;
constexpr float kMaxGraphicZoom = 2000.0f;

void SetCurrentView(Workspace& ws, const ViewTriple& view);
ViewTriple CurrentView(const Session& ws);

// The factory presets (slot 0 empty).
void InitViewPresets(Workspace& ws);

// Typed graphic zoom factor, held to [0.5, 2000].
float ClampGraphicZoom(double typed);

}  // namespace vek1
