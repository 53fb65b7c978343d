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

// One frame of the display, in three steps so that the drawing only draws: the tick advances the
// display's counters and takes the view (`advancePositionDisplay`), the frame draws the highlight
// in that view (`drawPositionDisplay`), and on the display's last frame the view goes back after
// the drawing (`endPositionDisplayFrame`). `points` and `outlines` are this tick's projection,
// made before the display set its view; the highlight takes pivots and outline vertices from them
// and maps model coordinates with the view the display has set. An identifier with nothing to
// show ends the display at once, drawing nothing.
struct PositionDisplayStep {
  PositionDisplayOutcome outcome;
  int id = 0;                // the dimension shown
  bool draws = false;        // a highlight and its label are drawn this frame
  bool red = false;          // the blink is in its red phase
  bool ends = false;         // the display ends with this frame
  bool restoreView = false;  // ...and gives the view back (it had taken it)
};
PositionDisplayStep advancePositionDisplay(Workspace& ws);
void drawPositionDisplay(Canvas& canvas, const Workspace& ws, const ScreenPoints& points,
                         const Outlines& outlines, const PositionDisplayStep& step);
void endPositionDisplayFrame(Workspace& ws, const PositionDisplayStep& step);
// The three steps of one frame, while ws.ShowDimensionId != 0; else nothing.
PositionDisplayOutcome runPositionDisplayFrame(Canvas& canvas, Workspace& ws,
                                               const ScreenPoints& points,
                                               const Outlines& outlines);

// A mouse press in the main window while the display is active: it ends at the next frame.
void EndPositionDisplaySoon(Workspace& ws);

}  // namespace vek1
