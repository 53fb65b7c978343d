#pragma once
// One frame of the main view, and the animation tick that solves, advances and draws it.

#include <optional>
#include <random>
#include <string>

#include "canvas.h"
#include "outlines.h"
#include "position_display.h"
#include "sound.h"
#include "view.h"
#include "workspace.h"

namespace vek1 {

// What a frame asks of the window around the drawing.
struct FrameOutcome {
  // Show or hide the menu bar's "Error" item; nothing when it stays as it is.
  std::optional<bool> errorItemVisible;
  // Top of the "UnDo" button beside the undo line, or -1 to hide it.
  int undoButtonTop = -1;
  // Each dynamic-variable bar is usable exactly when its slot names a dimension.
  std::array<bool, 4> dynVarBarEnabled{};
  // The dimension position display: whether it ran, and the dialogs to close or reopen.
  PositionDisplayOutcome positionDisplay;
};

// The world a frame draws in: sounds, the steam's random generator, and whether the dimension
// position display is running (it silences the exhaust beats).
struct FrameContext {
  SoundSink& sound;
  std::mt19937& rng;
  bool positionDisplayActive = false;
  // A picture of the frame (an export, a render): the captions of the controls, whose bars and
  // buttons a picture does not show, are left out.
  bool picture = false;
  // A line written at the top left of a picture (where the window has its buttons), naming what
  // it shows; empty: none.
  std::string caption = {};
  // A set to compare with, drawn as a faint ghost beneath the gear; null: none.
  const Workspace* ghost = nullptr;
};

// The caption line of a picture of the main view: the set's name, the notch (the reverse arm's
// offset from the mid-gear centre) and the crank angle.
std::string frameCaption(const Workspace& ws);

// Counts the frames of an error indication: the "Error" item shows for 9 frames, then hides with
// "Error.wav"; after 20 frames the latch is released. With screen data off it waits.
std::optional<bool> UpdateErrorIndicator(Workspace& ws, SoundSink& sound);

// The part of the frame the gear may draw in (design pixels, scaled with the texts): below the
// tool bar, and below the strip of controls while it is shown, except under the screen-data
// column at the top right.
constexpr int kToolBarBottom = 25;
constexpr int kStripBottom = 66;
constexpr int kScreenDataLeft = 543;
constexpr int kScreenDataBottom = 134;
CanvasClip gearClip(const Workspace& ws, CanvasSize size);

// Draws the whole frame for the pose already solved and projected.
FrameOutcome DrawFrame(Canvas& canvas, Workspace& ws, const ScreenPoints& points,
                       const Outlines& outlines, FrameContext& context);

// One tick of the animation: solve, valve state, projection, outlines, advance the driver,
// draw. The picture shows the pose solved before the advance.
FrameOutcome AnimationTick(Canvas& canvas, Workspace& ws, FrameContext& context);

// Whether a tick could draw anything but what the last frame showed: the driver turns, the steam
// display scatters its specks afresh, the dimension position display counts its frames, or an
// error indication blinks. Everything else changes only through the user's input.
bool FrameCanChange(const Workspace& ws);

// Window titles: the main window's, and the sine, oval, steam, port and data-table windows'.
std::string MainWindowTitle(const Workspace& ws, const std::string& date, const std::string& time);
std::string WindowTitle(const std::string& first, const Workspace& ws, const std::string& date,
                        const std::string& time);
// A window's title without its clock and version, blanks run together: the name a picture of
// the window is printed or exported under ("VEK1 Outside Admission Sine Diagram Nominal"), so
// that a file named after it does not carry the minute it was made.
std::string TitleWithoutClock(const std::string& windowTitle, const std::string& setName);
namespace title {
inline const std::string Main = "VEK1 Outside Admission            ";
inline const std::string Sine = "VEK1 Outside Admission      Sine Diagram    ";
inline const std::string Oval = "VEK1 Outside Admission      Oval Diagram    ";
inline const std::string Steam = "VEK1 Outside Admission      Steam Diagram    ";
inline const std::string Port = "VEK1 Outside Admission      Port Open/Closed    ";
inline const std::string DataTable = "VEK1 Outside Admission  Data Table ";
}  // namespace title

// The drawing surface of one frame.
constexpr int kFrameWidth = 1280;
constexpr int kFrameHeight = 1024;

}  // namespace vek1
