#pragma once
// The animation tick of the main view: it solves the gear, advances the driver and every state a
// frame shows (the steam display, the cut-off values, the error indication, the dimension
// position display), plays the frame's sounds, and has the frame drawn. The drawing itself
// (frame.h) changes nothing.

#include <optional>

#include "canvas.h"
#include "frame.h"
#include "sound.h"
#include "workspace.h"

namespace vek1 {

// Counts the frames of an error indication: the "Error" item shows for 9 frames, then hides with
// "Error.wav"; after 20 frames the latch is released. With screen data off it waits.
std::optional<bool> UpdateErrorIndicator(Workspace& ws, SoundSink& sound);

// The sounds of a steam step: one system beep per flat height while the error beep is on, then
// the front's and the rear's exhaust beats.
void playSteamSounds(const SteamStep& step, int flatHeights, bool errorBeepOn, SoundSink& sound);

// One frame for the pose already solved and projected: the states move on, the frame is drawn,
// its sounds play, and the position display is drawn over it.
FrameOutcome runFrame(Canvas& canvas, Workspace& ws, const ScreenPoints& points,
                      const Outlines& outlines, FrameContext& context);

// One tick of the animation: solve, valve state, projection, outlines, advance the driver, then
// the frame. The picture shows the pose solved before the advance.
FrameOutcome AnimationTick(Canvas& canvas, Workspace& ws, FrameContext& context);

// Whether a tick could draw anything but what the last frame showed: the driver turns, the steam
// display scatters its specks afresh, the dimension position display counts its frames, or an
// error indication blinks. Everything else changes only through the user's input.
bool FrameCanChange(const Workspace& ws);

}  // namespace vek1
