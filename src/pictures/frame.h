#pragma once
// One frame of the main view: a drawing of the set and of the states the tick has advanced
// (frame_tick.h), which changes nothing.

#include <optional>
#include <random>
#include <string>

#include "canvas.h"
#include "outlines.h"
#include "position_display.h"
#include "steam_drawing.h"
#include "valve.h"
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
  // Passages or chest the steam display found flat (zero pixels high); the tick beeps for them.
  int flatHeights = 0;
};

class SoundSink;

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

// The part of the frame the gear may draw in (design pixels, scaled with the texts): below the
// tool bar, and below the strip of controls while it is shown, except under the screen-data
// column at the top right.
constexpr int kToolBarBottom = 25;
constexpr int kStripBottom = 66;
constexpr int kScreenDataLeft = 543;
constexpr int kScreenDataBottom = 134;
CanvasClip gearClip(const Session& ws, CanvasSize size);

// What the tick settled for the frame before it is drawn: the steam display's colours and speck
// counts, and which cut-off values the screen data shows.
struct FrameShown {
  SteamFrame steam;
  CutOffDisplay cutOff;
};

// Draws the frame for the pose already solved and projected, all but the dimension position
// display, which the tick draws over it (position_display.h).
FrameOutcome DrawFrame(Canvas& canvas, const Workspace& ws, const ScreenPoints& points,
                       const Outlines& outlines, const FrameShown& shown,
                       const FrameContext& context);

// Window titles: the main window's, and the sine, oval, steam, port and data-table windows'.
std::string MainWindowTitle(const GearSet& ws, const std::string& date, const std::string& time);
std::string WindowTitle(const std::string& first, const GearSet& ws, const std::string& date,
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
