#include "dialog_texts.h"

#include <span>
#include <string_view>

#include "numbers.h"

namespace vek1 {

namespace {

// A text at a layout position given in the unscaled dialog's pixels. `scaleX` is false for the
// instruction lines, which stay at the left edge in either font mode.
struct PlacedText {
  int x;
  int y;
  std::string_view text;
  bool scaleX = true;
};

constexpr int kRow = 13;  // the rows' pitch

void drawPlacedTexts(Canvas& canvas, const Workspace& ws, std::span<const PlacedText> texts) {
  canvas.setFontSize(kDialogTextPoints);
  canvas.setFontStyle({});
  for (const PlacedText& t : texts) {
    const int x = t.scaleX ? roundHalfEven(t.x * static_cast<double>(ws.TextScaleX)) : t.x;
    const int y = roundHalfEven(t.y * static_cast<double>(ws.TextScaleY));
    canvas.textOut(x, y, t.text);
  }
}

constexpr PlacedText kFrameTexts[] = {
    {10, 0 * kRow, "Driver                    Diameter"},
    {10, 1 * kRow, "Stroke                      Length"},
    {10, 2 * kRow, "Main Rod            Crank End"},
    {10, 3 * kRow, "Main Rod           Piston End"},
    {10, 4 * kRow, "Radius Rod              Length"},
    {10, 5 * kRow, "Link                          Radius"},
    {10, 6 * kRow, "Link Pivot                      Vert"},
    {10, 7 * kRow, "Link Pivot                     Horz"},
    {204, 0 * kRow, "Valve Lever               Upper"},
    {204, 1 * kRow, "Valve Lever               Lower"},
    {204, 2 * kRow, "Coupler                      Upper"},
    {204, 3 * kRow, "Coupler                      Lower"},
    {204, 4 * kRow, "Anchor Link              Length"},
    {204, 5 * kRow, "Anchor Link Pivot         Vert"},
    {204, 6 * kRow, "Anchor Link Pivot         Horz"},
    {204, 7 * kRow, "Reverse Arm            Length"},
    {204, 8 * kRow, "Reverse Arm to Cent Norm"},
    // Max is labelled by dittoing "Reverse Arm to Cent" of the Norm line above.
    {234, 117, "\"           \"            Max"},
    {1, 151, "To Show Graphic Position of Variable, Click Small Button", false},
    {1, 164, "To Select Dynamic Variable, Click Dimension in Gray Area", false},
};

// Rows 6 and 22 have two-line labels; their fields sit beside the second line.
constexpr PlacedText kCylinderTexts[] = {
    {10, 0, "Cylinder ctr to Driver ctr"},
    {10, 13, "Cylinder CL above Driver"},
    {10, 26, "Cylinder Bore         Diameter"},
    {10, 39, "Cylinder Bore            Length"},
    {10, 52, "Cylinder Steam Port   Width"},
    {10, 65, "Piston ctr to Crosshead ctr"},
    {82, 78, "(Piston Rod)"},
    {10, 91, "Piston                         Width"},
    {10, 104, "ValveSurface to CylinderCL"},
    {10, 117, "Valve Stem CL to Cyl CL"},
    {10, 130, "Exhaust Port               Width"},
    {10, 143, "Bridge Width                Rear"},
    {10, 156, "Bridge Width                Front"},
    {204, 0, "Steam Port Width        Rear"},
    {204, 13, "Steam Port Width        Front"},
    {204, 26, "Valve Chamber        Height"},
    {204, 39, "Valve Chamber        Length"},
    {204, 52, "Valve Height"},
    {204, 65, "Valve Length       Rear Half"},
    {204, 78, "Valve Length       Front Half"},
    {204, 91, "Valve ExhCavity  Rear Half"},
    {204, 104, "Valve ExhCavity  Front Half"},
    {204, 117, "Valve ctr to Joint"},
    {266, 130, "  (Valve Stem)"},
    {1, 190, "To Show Graphic Position of Variable, Click Small Button", false},
    {1, 203, "To Select a Dynamic Variable, Click Dimension in Gray Area", false},
};

}  // namespace

void drawFrameDialogTexts(Canvas& canvas, const Workspace& ws) {
  drawPlacedTexts(canvas, ws, kFrameTexts);
}

void drawCylinderDialogTexts(Canvas& canvas, const Workspace& ws) {
  drawPlacedTexts(canvas, ws, kCylinderTexts);
}

}  // namespace vek1
