#include "frame.h"

#include "mechanism_drawing.h"
#include "numbers.h"
#include "overlay_drawing.h"
#include "pivot_prompt_drawing.h"
#include "reference_drawing.h"
#include "reference_ghost.h"
#include "screen_data_drawing.h"
#include "steam_drawing.h"

namespace vek1 {

CanvasClip gearClip(const Session& ws, CanvasSize size) {
  CanvasClip clip{0, textY(ws, ws.ScreenDataOn ? kStripBottom : kToolBarBottom), size.width,
                  size.height};
  if (ws.ScreenDataOn) {
    clip.cutLeft = textX(ws, kScreenDataLeft);
    clip.cutTop = 0;
    clip.cutRight = size.width;
    clip.cutBottom = textY(ws, kScreenDataBottom);
  }
  return clip;
}

FrameOutcome DrawFrame(Canvas& canvas, const Workspace& ws, const ScreenPoints& points,
                       const Outlines& outlines, const FrameShown& shown,
                       const FrameContext& context) {
  FrameOutcome outcome;
  canvas.clear(Rgb{255, 255, 255});
  canvas.setPenWidth(ws.LineWidth);

  // The gear, its steam and the overlay stay in their own area, however far the view is panned
  // or zoomed: they never run through the controls or the texts.
  canvas.setClip(gearClip(ws, canvas.size()));
  if (ws.SteamDisplayOn)
    outcome.flatHeights = drawSteam(canvas, ws, outlines, shown.steam, context.rng);

  if (context.ghost) drawReferenceGhost(canvas, ws, *context.ghost);
  drawMechanism(canvas, ws, points, outlines);
  drawOverlay(canvas, ws);
  canvas.clearClip();

  outcome.undoButtonTop = drawUndoLine(canvas, ws);

  if (ws.ScreenDataOn) {
    drawScreenData(canvas, ws, shown.cutOff, !context.picture);
    drawPivotData(canvas, ws, points);
    drawPivotSelectPrompt(canvas, ws);
    drawReferencePoints(canvas, ws);
    if (ws.DynVarShown) drawDynVarList(canvas, ws);
  }
  if (!context.caption.empty()) {
    useViewFont(canvas, ws);
    // Where the window has its buttons, which a picture leaves out.
    canvas.textOut(textX(ws, 8), textY(ws, kToolBarBottom + 3), context.caption);
  }
  for (int bar = 1; bar <= 4; ++bar) outcome.dynVarBarEnabled[bar - 1] = ws.DynVarList[bar].Id != 0;
  return outcome;
}

std::string frameCaption(const Workspace& ws) {
  const double notch = static_cast<double>(ws.ReverseArmPos) - ws.RevArmPositions[0];
  return ws.DimSetName + "    notch " + (notch >= 0.0 ? "+" : "") + fixedText(notch, 0, 3) +
         " from mid gear    crank " + fixedText(ws.DriverAngle, 0, 2) + " deg";
}

std::string WindowTitle(const std::string& first, const GearSet& ws, const std::string& date,
                        const std::string& time) {
  return first + ws.DimSetName + "     " + date + "   " + time + "   " + "Version 2.6";
}

std::string TitleWithoutClock(const std::string& windowTitle, const std::string& setName) {
  // The set name stands before the five blanks that lead to the date (see WindowTitle).
  const size_t at = windowTitle.rfind(setName + "     ");
  const std::string kept =
      at == std::string::npos ? windowTitle : windowTitle.substr(0, at + setName.size());
  std::string out;
  for (char c : kept) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out.push_back(c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string MainWindowTitle(const GearSet& ws, const std::string& date, const std::string& time) {
  return WindowTitle(title::Main, ws, date, time);
}

}  // namespace vek1
