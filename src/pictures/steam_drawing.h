#pragma once
// The steam display: randomly placed coloured specks that fill the steam spaces of the cylinder
// drawing (live steam in the chest, each cylinder end in the colour of its current event, the
// exhaust in the valve cavity, the exhaust port and a plume above the chest), the legend of the
// event colours, and the exhaust beats with their sound.
//
// The density of each cylinder end rises while it admits steam and falls while it exhausts; the
// number of specks follows it, and every opening of an end to exhaust plays a beat whose volume
// follows the density the other end had at its last beat.

#include <QtGlobal>
#include <optional>
#include <random>
#include <string_view>

#include "canvas.h"
#include "outlines.h"
#include "workspace.h"

namespace vek1 {

// A cylinder end's density is held to this range every frame the display updates it (it starts
// at 20, below the range, and is lifted on the first frame).
constexpr float kMinSteamDensity = 25.0f;
constexpr float kMaxSteamDensity = 2000.0f;

// Exhaust specks of an end that is not open to exhaust: white, so they wipe out what the other
// end's exhaust left in the shared exhaust spaces.
constexpr Rgb kSpentSteamColour{255, 255, 255};

// The wave file of an exhaust beat, beside the program.
constexpr std::string_view kExhaustSoundFile = "Exhaust.wav";

// What one frame of the steam display shows: each cylinder end's event colour and speck count.
struct SteamFrame {
  Rgb front = colour::Black;
  Rgb rear = colour::Black;
  int frontSpecks = 0;
  int rearSpecks = 0;
};
// An exhaust beat to sound, with the volume word to set first (none: leave the volume).
struct ExhaustBeat {
  std::optional<quint32> volumeWord;
};
struct SteamStep {
  SteamFrame frame;
  std::optional<ExhaustBeat> frontBeat;
  std::optional<ExhaustBeat> rearBeat;
};

// The tick's step of the steam display, once per frame: advances the event marks of both ends,
// updates both densities and speck counts, and arms or fires each end's exhaust beat.
// `positionDisplayActive` (the dimension position display) keeps the beats from arming.
SteamStep advanceSteam(Workspace& ws, bool positionDisplayActive);

// Draws one frame of the steam display after the frame is cleared and before the mechanism:
// scatters the specks and writes the event legend while screen data is shown. `rng` gives every
// speck position; the caller reseeds it each frame. A zero pixel height of a passage or of the
// chest (which sizes the plume) is taken as 1; the count of them is returned.
int drawSteam(Canvas& canvas, const Workspace& ws, const Outlines& outlines,
              const SteamFrame& frame, std::mt19937& rng);

// Volume level (one channel, 0xFFFF full) of a beat that follows a density of `v`; empty for a
// density outside the table, which leaves the volume as it is.
std::optional<quint16> exhaustVolumeLevel(int v);

// The volume word with `level` on both channels (0x4000 gives 0x40004000).
constexpr quint32 bothChannels(quint16 level) {
  return static_cast<quint32>(level) | (static_cast<quint32>(level) << 16);
}

// The steam switch of the SetUp menu: flips SteamDisplayOn and returns the caption the menu item
// takes, which names what the next click will do. Densities and beats are left as they are, so
// the display continues where it stopped.
std::string_view toggleSteamDisplay(Workspace& ws);
// The menu caption for the switch in state `on`.
std::string_view steamDisplayCaption(bool on);

}  // namespace vek1
