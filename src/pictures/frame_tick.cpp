#include "frame_tick.h"

#include "motion.h"
#include "position_display.h"
#include "solver.h"
#include "steam_drawing.h"
#include "valve.h"

namespace vek1 {

namespace {
// Frames the "Error" item stays visible, and frames until the latch is released.
constexpr int kErrorShowFrames = 10;
constexpr int kErrorCycleFrames = 20;
}  // namespace

std::optional<bool> UpdateErrorIndicator(Workspace& ws, SoundSink& sound) {
  if (!ws.ErrorFlag) return std::nullopt;
  ++ws.ErrorFrames;
  std::optional<bool> visible;
  if (ws.ErrorFrames < kErrorShowFrames) {
    visible = true;
  } else if (ws.ErrorFrames == kErrorShowFrames) {
    visible = false;
    sound.playAsync(QStringLiteral("Error.wav"));
  }
  if (ws.ErrorFrames > kErrorCycleFrames) {
    ws.ErrorFrames = 0;
    ws.ErrorFlag = false;
  }
  return visible;
}

void playSteamSounds(const SteamStep& step, int flatHeights, bool errorBeepOn, SoundSink& sound) {
  if (errorBeepOn)
    for (int i = 0; i < flatHeights; ++i) sound.beep();
  for (const std::optional<ExhaustBeat>& beat : {step.frontBeat, step.rearBeat}) {
    if (!beat) continue;
    if (beat->volumeWord) sound.setWaveVolume(*beat->volumeWord);
    sound.playAsync(QString::fromLatin1(kExhaustSoundFile.data(),
                                        static_cast<qsizetype>(kExhaustSoundFile.size())));
  }
}

bool FrameCanChange(const Workspace& ws) {
  return ws.StepAngle != 0.0f || ws.SteamDisplayOn || ws.ShowDimensionId != 0 || ws.ErrorFlag;
}

FrameOutcome runFrame(Canvas& canvas, Workspace& ws, const ScreenPoints& points,
                      const Outlines& outlines, FrameContext& context) {
  // The states the picture shows move on first; the drawing then only reads them.
  FrameShown shown;
  SteamStep steam;
  if (ws.SteamDisplayOn) {
    steam = advanceSteam(ws, context.positionDisplayActive);
    shown.steam = steam.frame;
  }
  if (ws.ScreenDataOn) shown.cutOff = DetectCutOff(ws);

  FrameOutcome outcome = DrawFrame(canvas, ws, points, outlines, shown, context);

  if (ws.SteamDisplayOn) playSteamSounds(steam, outcome.flatHeights, ws.ErrorBeepOn, context.sound);
  if (ws.ScreenDataOn) outcome.errorItemVisible = UpdateErrorIndicator(ws, context.sound);
  // Last, over everything: the display takes the view for its highlight only, so the rest of
  // its first frame is drawn in the user's view.
  outcome.positionDisplay = runPositionDisplayFrame(canvas, ws, points, outlines);
  return outcome;
}

FrameOutcome AnimationTick(Canvas& canvas, Workspace& ws, FrameContext& context) {
  SolveGearAndValve(ws);
  const ScreenPoints points = projectPivots(ws);
  const Outlines outlines = UpdateOutlines(ws);
  AdvanceDriverAngle(ws);
  return runFrame(canvas, ws, points, outlines, context);
}

}  // namespace vek1
