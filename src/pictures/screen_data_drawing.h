#pragma once
// The texts the main view writes around the gear: the screen data beside the control strip, the
// cut-off values, the undo line and the dynamic-variable list.

#include <string>
#include <string_view>

#include "canvas.h"
#include "valve.h"
#include "workspace.h"

namespace vek1 {

// Font size (points) of the view's texts before the large-font scaling.
constexpr int kViewFontPoints = 7;

// A fixed text position scaled by TextScaleX / TextScaleY and rounded.
int textX(const Session& ws, int x);
int textY(const Session& ws, int y);

// Uses the view's font (size scaled with the text positions) in black.
void useViewFont(Canvas& canvas, const Workspace& ws);

// The screen-data texts, the cut-off labels and values as `cutOff` says; the captions of the
// pan and zoom bars too unless `controlCaptions` is false (a picture, which has no bars).
void drawScreenData(Canvas& canvas, const Workspace& ws, const CutOffDisplay& cutOff,
                    bool controlCaptions = true);

// What a screen-data text means, for its tool tip: the full name, the unit and the convention
// of the text that starts with `label` ("ValveFSt", "Piston %", ...); "" for any other text.
std::string screenDataTip(std::string_view text);

// The newest undo entry, while screen data and undo mode are on. Returns the top of the "UnDo"
// button beside it (in window pixels), or -1 when the line (and the button) is not shown.
int drawUndoLine(Canvas& canvas, const Workspace& ws);

// The dynamic-variable list, or the boxed prompt while it is empty.
void drawDynVarList(Canvas& canvas, const Workspace& ws);

}  // namespace vek1
