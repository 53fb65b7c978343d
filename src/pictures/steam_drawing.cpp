#include "steam_drawing.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>
#include <vector>

#include "numbers.h"
#include "valve.h"
#include "view.h"

namespace vek1 {

namespace {

// Live steam specks per unit of zoom: the feed pipe above the chest, and each of the chest's
// three spaces round the valve. Tied to the zoom so the steam looks equally dense at any scale.
constexpr double kPipeSpecksPerZoom = 5.4;
constexpr double kChestSpecksPerZoom = 10.8;
// A cylinder end shows density x zoom / this many specks.
constexpr double kDensityPerSpeck = 18.5;
// Density gained per degree of crank travel per unit of steam opening while admitting. The bias
// lets an end that has only just opened still fill.
constexpr double kAdmissionGain = 50.0;
constexpr double kAdmissionBias = 0.1;
// Density lost per degree of crank travel per unit of exhaust opening.
constexpr double kExhaustLoss = 60.0;

// Each cylinder end's speck count is shared out as: the whole in the bore, a part in the passage
// and its port, and parts of it in the four exhaust spaces.
constexpr int kPassageDivisor = 8;
constexpr int kSteamPortDivisor = 20;
constexpr int kCavityDivisor = 10;
constexpr int kExhaustPortDivisor = 15;
constexpr int kStackDivisor = 20;
constexpr int kPlumeDivisor = 6;
// The plume climbs this many chest heights above the stack.
constexpr int kPlumeChestHeights = 3;

// No region ever needs more specks than the densest end at the greatest zoom; a zoom or a count
// that escaped its range is held to this, so the frame cannot stall.
const int kMaxSpecksPerRegion =
    roundHalfEven(static_cast<double>(kMaxSteamDensity) * kMaxZoom / kDensityPerSpeck);

// Ranges up to this take 16 random bits instead of a whole draw of the generator.
constexpr int kHalfDrawRange = 1024;

// Screen coordinates are held this near the origin before any difference is taken, so that the
// extents of absurd geometry (a dimension typed as 1e30) cannot overflow an int. The frame is a
// tiny part of this range, so nothing visible changes.
constexpr int kFarPixel = 1 << 24;

int bounded(int v) {
  return std::clamp(v, -kFarPixel, kFarPixel);
}
Pt bounded(Pt p) {
  return {bounded(p.x), bounded(p.y)};
}

// Names for the outline vertices the steam spaces are bounded by.
struct Geometry {
  explicit Geometry(const Outlines& o) {
    const auto& c = o.Cylinder;
    const auto& p = o.Passage;
    const auto& v = o.Valve;
    top = bounded(c[0].y);
    face = bounded(c[2].y);
    portRearX = bounded(c[0].x);    // x(CC - P)
    portFrontX = bounded(c[13].x);  // x(CC + P)
    chestRearX = bounded(c[1].x);
    chestFrontX = bounded(c[12].x);
    stemY = bounded(o.ValveStemEnd.y);  // the valve-stem line, V[4]
    valveTop = bounded(v[0].y);
    valveRearX = bounded(v[7].x);
    valveFrontX = bounded(v[2].x);
    cavityRearX = bounded(v[6].x);
    cavityFrontX = bounded(v[3].x);
    cavityRoof = bounded(v[4].y);
    frontBridgeX = bounded(p[7].x);  // x(CC + P + BF)
    boreRear = bounded(c[5]);
    boreRearBottom = bounded(c[6]);
    boreFront = bounded(c[8]);
    boreFrontBottom = bounded(c[7]);
    pistonRearX = bounded(o.Piston[1].x);
    pistonFrontX = bounded(o.Piston[0].x);
    rearWallBottom = bounded(p[4]);
    rearWallTop = bounded(p[3]);
    frontWallBottom = bounded(p[5]);
    frontWallTop = bounded(p[6]);
    rearBridgeX = bounded(p[2].x);       // x(CC - P - BR)
    rearPortOuterX = bounded(c[3].x);    // x(CC - P - BR - SR)
    frontPortOuterX = bounded(c[10].x);  // x(CC + P + BF + SF)
  }
  int top, face, portRearX, portFrontX, chestRearX, chestFrontX, stemY;
  int valveTop, valveRearX, valveFrontX, cavityRearX, cavityFrontX, cavityRoof, frontBridgeX;
  Pt boreRear, boreRearBottom, boreFront, boreFrontBottom;
  int pistonRearX, pistonFrontX;
  // Inner walls of the slanted passages: from the bore's top up to the bottom of the steam port.
  Pt rearWallBottom, rearWallTop, frontWallBottom, frontWallTop;
  int rearBridgeX, rearPortOuterX, frontPortOuterX;
};

// Scatters specks. Everything is on the stack: a frame sets thousands of pixels on every tick
// (a budget of a quarter of a millisecond), so nothing per speck may allocate.
class Specks {
 public:
  Specks(Canvas& canvas, std::mt19937& rng) : canvas_(canvas), rng_(rng) {}

  // Uniform integer in [0, n); an empty range gives 0 (the plume is one pixel wide at its tip).
  // The generator's draw is the larger part of a speck's cost, so a small range takes half a
  // draw, scaled by multiply-shift: its bias (under n / 65536) is far below what random specks
  // can show.
  int below(int n) {
    if (n <= 0) return 0;
    if (n > kHalfDrawRange) return std::uniform_int_distribution<int>(0, n - 1)(rng_);
    std::uint32_t half;
    if (spareHalf_) {
      half = bits_ >> 16;
      spareHalf_ = false;
    } else {
      bits_ = static_cast<std::uint32_t>(rng_());
      half = bits_ & 0xffffu;
      spareHalf_ = true;
    }
    return static_cast<int>((half * static_cast<std::uint32_t>(n)) >> 16);
  }

  // `count` specks in the rectangle [left, left + width) x [top, top + height); nothing when it
  // is empty.
  void rect(Rgb colour, int count, int left, int top, int width, int height) {
    if (width <= 0 || height <= 0) return;
    count = std::min(count, kMaxSpecksPerRegion);
    batch_.clear();
    for (int i = 0; i < count; ++i) {
      // Each speck's row is drawn before its column: the generator's order the display was
      // made with.
      const int y = top + below(height);
      batch_.push_back({left + below(width), y});
    }
    canvas_.setPixels(colour, batch_);
  }

  // `count` specks in the `height` rows that climb from `base` (included), `width` pixels from
  // `left`. The spaces above the chest stand on its top line and climb as the plume does, so the
  // stack ends where the plume begins.
  void rise(Rgb colour, int count, int left, int base, int width, int height) {
    rect(colour, count, left, base - height + 1, width, height);
  }

  // `count` specks in a band `width` pixels wide that leans along a passage's inner wall, which
  // climbs `height` pixels from `bottom` to `topX`; `side` +1 puts the band in front of the wall,
  // -1 behind it. The band keeps the passage's width at the bore, which the passage only widens
  // from, so it stays inside.
  void slant(Rgb colour, int count, Pt bottom, int topX, int height, int width, int side) {
    if (height <= 0 || width <= 0) return;
    count = std::min(count, kMaxSpecksPerRegion);
    const double run = static_cast<double>(topX) - bottom.x;
    batch_.clear();
    for (int i = 0; i < count; ++i) {
      const int d = below(height);
      const int x = roundHalfEven(bottom.x + run * d / height) + side * below(width);
      batch_.push_back({x, bottom.y - d});
    }
    canvas_.setPixels(colour, batch_);
  }

  // `count` specks in a wedge whose tip is at x `c`, `height` pixels above the chest's top, and
  // which widens upwards by `width` pixels on each side per `height` climbed, for three heights.
  void plume(Rgb colour, int count, int c, int chestTop, int height, int width) {
    if (height <= 0) return;
    count = std::min(count, kMaxSpecksPerRegion);
    const int reach = kPlumeChestHeights * height;
    batch_.clear();
    for (int i = 0; i < count; ++i) {
      const int d = below(reach);
      const double r = static_cast<double>(d) / height;
      const int spread = below(roundHalfEven(2.0 * width * r));
      const int x = roundHalfEven(c - width * r + spread);
      batch_.push_back({x, chestTop - height - d});
    }
    canvas_.setPixels(colour, batch_);
  }

 private:
  Canvas& canvas_;
  std::mt19937& rng_;
  std::uint32_t bits_ = 0;
  bool spareHalf_ = false;
  std::vector<CanvasPixel> batch_;  // one region's specks, set together
};

// A cylinder end's density follows its event: admission fills it, exhaust empties it in
// proportion to the openings and to the crank travel of this frame.
float nextDensity(float density, Rgb event, float step, float steamOpen, float exhOpen) {
  double d = density;
  if (event == colour::Admission) {
    d += static_cast<double>(step) * kAdmissionGain *
         (static_cast<double>(steamOpen) + kAdmissionBias);
  } else if (event == colour::Exhaust) {
    d += -static_cast<double>(step) * kExhaustLoss * exhOpen;
  }
  // Written so that a NaN (from a NaN step or opening) lands on the floor.
  if (!(d >= kMinSteamDensity)) return kMinSteamDensity;
  if (d > kMaxSteamDensity) return kMaxSteamDensity;
  return toSingle(d);
}

int speckCount(const Workspace& ws, float density) {
  return roundHalfEven(static_cast<double>(density) * ws.ViewZoom / kDensityPerSpeck);
}

// A passage or chest height of zero pixels (a tiny zoom, or dimensions that flatten it) would
// divide by zero; it is taken as one pixel, and counted, so that the tick can beep to tell the
// user the picture is degenerate.
int usableHeight(int height, int& flat) {
  if (height != 0) return height;
  ++flat;
  return 1;
}

// The spaces of one cylinder end, mirrored between front and rear.
struct EndShape {
  int gapLeft, gapRight;  // between the piston's face and the bore's end
  int boreTop, boreBottom;
  Pt wallBottom, wallTop;   // the passage's inner wall, from the bore up to the port's bottom
  int passageWidth;         // the passage's width at the bore
  int side;                 // +1: the passage lies in front of its wall; -1: behind it
  int portLeft, portRight;  // the steam port, between the bridge and the passage's outer wall
};

EndShape frontEnd(const Geometry& g) {
  return {g.pistonFrontX,
          g.boreFront.x,
          g.boreFront.y,
          g.boreFrontBottom.y,
          g.frontWallBottom,
          g.frontWallTop,
          g.boreFront.x - g.frontWallBottom.x,
          +1,
          g.frontBridgeX,
          g.frontPortOuterX};
}

EndShape rearEnd(const Geometry& g) {
  return {g.boreRear.x,
          g.pistonRearX,
          g.boreRear.y,
          g.boreRearBottom.y,
          g.rearWallBottom,
          g.rearWallTop,
          g.rearWallBottom.x - g.boreRear.x,
          -1,
          g.rearPortOuterX,
          g.rearBridgeX};
}

// One cylinder end in its event colour: the bore between piston and end cover, the slanted
// passage, and the steam port down from the face to the passage's top.
void drawCylinderEnd(Specks& specks, const Geometry& g, const EndShape& e, Rgb colour, int count,
                     int& flat) {
  specks.rect(colour, count, e.gapLeft, e.boreTop, e.gapRight - e.gapLeft,
              e.boreBottom - e.boreTop);
  const int passageSpecks = count / kPassageDivisor;
  if (passageSpecks > 0) {
    const int height = usableHeight(e.wallBottom.y - e.wallTop.y, flat);
    specks.slant(colour, passageSpecks, e.wallBottom, e.wallTop.x, height, e.passageWidth, e.side);
  }
  specks.rect(colour, count / kSteamPortDivisor, e.portLeft, g.face, e.portRight - e.portLeft,
              e.wallTop.y - g.face);
}

// One end's exhaust: blue while that end is open to exhaust, white otherwise.
void drawExhaust(Specks& specks, const Geometry& g, float exhOpen, int count, int plumeHeight) {
  const Rgb colour = exhOpen > 0.0f ? colour::Exhaust : kSpentSteamColour;
  const int portWidth = g.portFrontX - g.portRearX;
  const int chestHeight = g.face - g.top;
  specks.rect(colour, count / kCavityDivisor, g.cavityRearX, g.cavityRoof,
              g.cavityFrontX - g.cavityRearX, g.face - g.cavityRoof);
  // The exhaust port runs down from the face as deep as the valve stem stands above it.
  specks.rect(colour, count / kExhaustPortDivisor, g.portRearX, g.face, portWidth,
              g.face - g.stemY);
  // The stack: as wide as the exhaust port, in front of the live steam pipe, one chest high.
  specks.rise(colour, count / kStackDivisor, g.portFrontX, g.top, portWidth, chestHeight);
  specks.plume(colour, count / kPlumeDivisor, g.frontBridgeX, g.top, plumeHeight, portWidth);
}

void drawEventLegend(Canvas& canvas, Pt corner) {
  struct Entry {
    std::string_view text;
    Rgb colour;
    int dx, dy;
  };
  static constexpr std::array<Entry, 4> kLegend = {{{"ADMISSION", colour::Admission, -40, 5},
                                                    {"EXPANSION", colour::Expansion, 40, 5},
                                                    {"EXHAUST", colour::Exhaust, -40, 17},
                                                    {"COMPRESSION", colour::Compression, 24, 17}}};
  for (const Entry& e : kLegend) {
    canvas.setFontColour(e.colour);
    canvas.textOut(corner.x + e.dx, corner.y + e.dy, e.text);
  }
  canvas.setFontColour(colour::Black);
}

// An end arms while its exhaust edge is closed and beats at its next opening. The beat records
// this end's density for the other end's next beat and sounds at the density the other end had at
// its own last beat, so the loudness of a beat trails the steam by half a revolution.
std::optional<ExhaustBeat> exhaustBeat(bool& armed, float& beatDensity, float exhOpen,
                                       float density, float otherBeatDensity,
                                       bool positionDisplayActive) {
  if (exhOpen < 0.0f && !positionDisplayActive) armed = true;
  if (!(exhOpen > 0.0f && armed)) return std::nullopt;
  armed = false;
  beatDensity = density;
  ExhaustBeat beat;
  if (const auto level = exhaustVolumeLevel(roundHalfEven(otherBeatDensity)))
    beat.volumeWord = bothChannels(*level);
  return beat;
}

}  // namespace

SteamStep advanceSteam(Workspace& ws, bool positionDisplayActive) {
  SteamStep step;
  // The cylinder ends, each in its event colour with a density that follows the event.
  std::tie(step.frame.front, step.frame.rear) = UpdateEvents(ws);
  ws.FrontDensity = nextDensity(ws.FrontDensity, step.frame.front, ws.StepAngle, ws.FrontSteamOpen,
                                ws.FrontExhOpen);
  ws.FrontSpeckCount = step.frame.frontSpecks = speckCount(ws, ws.FrontDensity);
  ws.RearDensity =
      nextDensity(ws.RearDensity, step.frame.rear, ws.StepAngle, ws.RearSteamOpen, ws.RearExhOpen);
  ws.RearSpeckCount = step.frame.rearSpecks = speckCount(ws, ws.RearDensity);
  step.frontBeat = exhaustBeat(ws.FrontBeatArmed, ws.FrontBeatDensity, ws.FrontExhOpen,
                               ws.FrontDensity, ws.RearBeatDensity, positionDisplayActive);
  step.rearBeat = exhaustBeat(ws.RearBeatArmed, ws.RearBeatDensity, ws.RearExhOpen, ws.RearDensity,
                              ws.FrontBeatDensity, positionDisplayActive);
  return step;
}

int drawSteam(Canvas& canvas, const Workspace& ws, const Outlines& outlines,
              const SteamFrame& frame, std::mt19937& rng) {
  const Geometry g(outlines);
  Specks specks(canvas, rng);
  int flat = 0;

  // Live steam: the feed pipe above the chest, as tall as the valve stem stands above the face;
  // the chest above the valve; and the gaps between the valve and the chest's ends.
  const int pipeSpecks = roundHalfEven(static_cast<double>(ws.ViewZoom) * kPipeSpecksPerZoom);
  const int chestSpecks = roundHalfEven(static_cast<double>(ws.ViewZoom) * kChestSpecksPerZoom);
  const int pipeHeight = g.face - g.stemY;
  specks.rise(colour::Admission, pipeSpecks, g.portRearX, g.top, g.portFrontX - g.portRearX,
              pipeHeight);
  specks.rect(colour::Admission, chestSpecks, g.chestRearX, g.top, g.chestFrontX - g.chestRearX,
              g.valveTop - g.top);
  specks.rect(colour::Admission, chestSpecks, g.chestRearX, g.valveTop, g.valveRearX - g.chestRearX,
              g.face - g.valveTop);
  specks.rect(colour::Admission, chestSpecks, g.valveFrontX, g.valveTop,
              g.chestFrontX - g.valveFrontX, g.face - g.valveTop);

  drawCylinderEnd(specks, g, frontEnd(g), frame.front, frame.frontSpecks, flat);
  drawCylinderEnd(specks, g, rearEnd(g), frame.rear, frame.rearSpecks, flat);

  // The exhaust of both ends shares the cavity, port, stack and plume. The plume's height is the
  // chest's, settled once per frame so a flat chest counts once.
  int plumeHeight = g.face - g.top;
  if (frame.frontSpecks / kPlumeDivisor > 0 || frame.rearSpecks / kPlumeDivisor > 0) {
    plumeHeight = usableHeight(plumeHeight, flat);
  }
  drawExhaust(specks, g, ws.FrontExhOpen, frame.frontSpecks, plumeHeight);
  drawExhaust(specks, g, ws.RearExhOpen, frame.rearSpecks, plumeHeight);

  // The legend hangs below the bore's rear-bottom corner.
  if (ws.ScreenDataOn) drawEventLegend(canvas, outlines.Cylinder[6]);
  return flat;
}

std::optional<quint16> exhaustVolumeLevel(int v) {
  struct Band {
    int upTo;
    quint16 level;
  };
  // Louder beats for denser steam; half volume at the top, as the output is set at start-up.
  static constexpr std::array<Band, 8> kBands = {{{100, 0x0700},
                                                  {200, 0x1400},
                                                  {400, 0x2800},
                                                  {600, 0x4000},
                                                  {800, 0x5000},
                                                  {1000, 0x6000},
                                                  {1200, 0x7000},
                                                  {2001, 0x8000}}};
  constexpr int kQuietest = 24;
  if (v < kQuietest) return std::nullopt;
  for (const Band& b : kBands) {
    if (v <= b.upTo) return b.level;
  }
  return std::nullopt;
}

std::string_view steamDisplayCaption(bool on) {
  return on ? "SetS&teamDisp Off" : "SetS&teamDisp On";
}

std::string_view toggleSteamDisplay(Workspace& ws) {
  ws.SteamDisplayOn = !ws.SteamDisplayOn;
  return steamDisplayCaption(ws.SteamDisplayOn);
}

}  // namespace vek1
