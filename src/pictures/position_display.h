#pragma once
// The dimension position display: a show-position button in the frame or cylinder dialog sets
// ShowDimensionId; the main view then closes that dialog, zooms onto the dimension, blinks a
// highlight line over it with its label for 1000 frames, restores the view and reopens the
// dialog. It runs as the last drawing step of every frame while the gear keeps animating.

#include "canvas.h"
#include "outlines.h"
#include "view.h"
#include "workspace.h"

namespace vek1 {

// The dialog that asked for the display: the cylinder dialog for identifiers above 99, else the
// frame dialog.
enum class PositionAsker { None, FrameDialog, CylinderDialog };

struct PositionDisplayOutcome {
  bool active = false;  // the display ran this frame (the window shows the busy cursor)
  PositionAsker closeDialog = PositionAsker::None;   // the dialog to close now (every active frame)
  PositionAsker reopenDialog = PositionAsker::None;  // set on the frame the display ends
};

// Frames the display lasts. The display ends on the frame whose advanced counter reaches this,
// after that frame's highlight is drawn, so frames 1 to 1000 all show the highlight and the
// next frame is drawn in the restored view.
constexpr int kPositionDisplayFrames = 1000;
// What a mouse press sets the frame counter to: past the end, so the next frame ends it.
constexpr int kPositionDisplayCut = 1005;

// Runs one frame of the display while ws.ShowDimensionId != 0, else does nothing. `points` and
// `outlines` are this tick's projection, made before the display set its view; the highlight
// takes pivots and outline vertices from them and maps model coordinates with the view it sets.
// An identifier with nothing to show ends the display at once.
PositionDisplayOutcome DrawPositionDisplay(Canvas& canvas, Workspace& ws,
                                           const ScreenPoints& points, const Outlines& outlines);

// A mouse press in the main window while the display is active: it ends at the next frame.
void EndPositionDisplaySoon(Workspace& ws);

}  // namespace vek1
