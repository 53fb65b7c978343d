#include "pivot_prompt_drawing.h"

#include "screen_data_drawing.h"

namespace vek1 {

void drawPivotSelectPrompt(Canvas& canvas, const Workspace& ws) {
  if (!ws.PivotSelectPending) return;
  constexpr int kTwoPivotMode = 3;
  const bool twoPivots = ws.OverlayRefChoice == kTwoPivotMode;
  const char* lines[3] = {
      twoPivots ? "STOP MOTION AND SELECT PIVOT 1 AND PIVOT 2" : "STOP MOTION AND SELECT PIVOT 1",
      twoPivots ? "USE LEFT MOUSE BUTTON FIRST THEN RIGHT" : "USE LEFT MOUSE BUTTON",
      twoPivots ? "MOVE MOTION IF NECESSARY TO CLEAR PIVOTS"
                : "MOVE MOTION IF NECESSARY TO CLEAR PIVOT"};
  useViewFont(canvas, ws);
  canvas.setFontStyle(FontStyle{true, false});
  canvas.setFontColour(colour::Admission);
  const int ys[3] = {130, 143, 156};
  for (int i = 0; i < 3; ++i) canvas.textOut(textX(ws, 10), textY(ws, ys[i]), lines[i]);
  // The texts drawn after this expect the plain black view font.
  useViewFont(canvas, ws);
}

}  // namespace vek1
