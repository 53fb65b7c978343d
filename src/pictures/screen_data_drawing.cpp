#include "screen_data_drawing.h"

#include <numbers>

#include "dynvar.h"
#include "numbers.h"

namespace vek1 {

int textX(const Session& ws, int x) { return roundHalfEven(x * static_cast<double>(ws.TextScaleX)); }
int textY(const Session& ws, int y) { return roundHalfEven(y * static_cast<double>(ws.TextScaleY)); }

void useViewFont(Canvas& canvas, const Workspace& ws) {
  canvas.setFontSize(roundHalfEven(kViewFontPoints * static_cast<double>(ws.TextScaleY)));
  canvas.setFontStyle(FontStyle{});
  canvas.setFontColour(colour::Black);
}

namespace {

void text(Canvas& canvas, const Workspace& ws, int x, int y, const std::string& s) {
  canvas.textOut(textX(ws, x), textY(ws, y), s);
}

}  // namespace

void drawScreenData(Canvas& canvas, const Workspace& ws, const CutOffDisplay& cutOff,
                    bool controlCaptions) {
  useViewFont(canvas, ws);
  if (controlCaptions) {
    text(canvas, ws, 199, 25, "Pan Vert");
    text(canvas, ws, 199, 39, "Pan Horz");
    text(canvas, ws, 199, 53, "Zoom");
  }

  text(canvas, ws, 459, 25, "Rev Arm " + fixedText(ws.ReverseArmPos, 6, 3) + "  ");
  text(canvas, ws, 459, 39, "Driv Ang " + fixedText(ws.DriverAngle, 6, 2) + "  ");
  text(canvas, ws, 459, 53, "Step Ang" + fixedText(ws.SelectedStep, 6, 2) + "  ");

  // The small addition keeps a position a hair below a round figure from showing as -0.00.
  text(canvas, ws, 545, 25, "Piston % " + fixedText(ws.PistonPos / 6.4 + 0.00001, 6, 2) + "  ");
  text(canvas, ws, 545, 37, "ValveCen" + fixedText(ws.Ports.ValveDisplacement, 7, 3));
  text(canvas, ws, 545, 49, "ValveFSt" + fixedText(ws.FrontSteamOpen, 7, 3));
  text(canvas, ws, 545, 61, "ValveFEx" + fixedText(ws.FrontExhOpen, 7, 3));
  text(canvas, ws, 545, 73, "ValveRSt" + fixedText(ws.RearSteamOpen, 7, 3));
  text(canvas, ws, 545, 85, "ValveREx" + fixedText(ws.RearExhOpen, 7, 3));
  text(canvas, ws, 545, 97,
       "ValvLevA" + fixedText(ws.ValveLeverAngle * 180.0 / std::numbers::pi, 7, 2));

  if (cutOff.labels) {
    text(canvas, ws, 545, 109, "FrontCO% ");
    if (cutOff.front) text(canvas, ws, 600, 109, ws.FrontCutOffText);
    text(canvas, ws, 545, 121, "RearCO% ");
    if (cutOff.rear) text(canvas, ws, 600, 121, ws.RearCutOffText);
  }
}

std::string screenDataTip(std::string_view text) {
  struct Tip {
    std::string_view label, tip;
  };
  static constexpr Tip kTips[] = {
      {"Pan Vert", "The bar beside it pans the view up or down: an arrow click 0.1 pixel, a click "
                   "beside the thumb 1 pixel; it springs back"},
      {"Pan Horz", "The bar beside it pans the view left or right: an arrow click 0.1 pixel, a "
                   "click beside the thumb 1 pixel; it springs back"},
      {"Zoom", "The bar beside it zooms the view: an arrow click 0.1 %, a click beside the thumb "
               "1 %; it springs back"},
      {"Rev Arm", "Reverse-arm position: H of the reverse arm's end, length units (mid gear is "
                  "the centre found by CalcCentRevArm)"},
      {"Driv Ang", "Driver angle, degrees: 0 with the crank pin towards the cylinder and the piston "
                   "at front dead centre, growing as the engine runs forwards"},
      {"Step Ang", "Step angle: degrees the driver turns per frame while running"},
      {"Piston %", "Piston travel, percent of the stroke from front dead centre"},
      {"ValveCen", "Valve centre from the port face's centre, length units, positive towards the "
                   "front"},
      {"ValveFSt", "Front steam port opening, length units; negative: closed by that much"},
      {"ValveFEx", "Front port opening to the exhaust, length units; negative: closed by that much"},
      {"ValveRSt", "Rear steam port opening, length units; negative: closed by that much"},
      {"ValveREx", "Rear port opening to the exhaust, length units; negative: closed by that much"},
      {"ValvLevA", "Valve-lever angle from the vertical, degrees"},
      {"FrontCO%", "Front cut-off as last measured while running: percent of the stroke from front "
                   "dead centre where the front steam edge closed"},
      {"RearCO%", "Rear cut-off as last measured while running: percent of the stroke from rear "
                  "dead centre where the rear steam edge closed"},
  };
  for (const Tip& t : kTips)
    if (text.substr(0, t.label.size()) == t.label) return std::string(t.tip);
  return "";
}

int drawUndoLine(Canvas& canvas, const Workspace& ws) {
  if (!ws.ScreenDataOn || !ws.UndoMode) return -1;
  useViewFont(canvas, ws);
  // Below the dynamic-variable list while it is shown, else in its place. Both coordinates
  // follow the horizontal text scale, as this line always has.
  const int y = ws.DynVarShown ? 128 : 73;
  const double scale = ws.TextScaleX;
  canvas.textOut(roundHalfEven(320 * scale), roundHalfEven(y * scale), UndoLineText(ws));
  return roundHalfEven((y - 1) * scale);
}

void drawDynVarList(Canvas& canvas, const Workspace& ws) {
  useViewFont(canvas, ws);
  const auto& list = ws.DynVarList;
  if (list[1].Id != 0) {
    for (int slot = 1; slot <= 4; ++slot) {
      const int y = 71 + 12 * (slot - 1);
      text(canvas, ws, 377, y, list[slot].Name);
      text(canvas, ws, 498, y, fixedText(list[slot].Value, 6, 3));
    }
    return;
  }
  canvas.setFontColour(Rgb{255, 0, 0});
  text(canvas, ws, 377, 71, "*******************************");
  text(canvas, ws, 377, 81, "* First Select Dimensions *");
  text(canvas, ws, 377, 95, "*******************************");
  canvas.setFontColour(colour::Black);
}

}  // namespace vek1
