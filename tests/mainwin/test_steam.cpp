#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#include "frame_tick.h"
#include "recording_sound.h"
#include "dimensions.h"
#include "outlines.h"
#include "solver.h"
#include "sound.h"
#include "steam_drawing.h"
#include "valve.h"
#include "recording_canvas.h"

namespace vek1 {
namespace {

using Sound = RecordingSoundSink;

// Factory gear at a quarter turn (piston mid-bore, valve mid-chest), stopped, screen data off.
Workspace posed() {
  Workspace ws;
  StartUp(ws);
  ws.DriverAngle = 90.0f;
  SolveLinkage(ws);
  ComputeValveState(ws);
  ws.StepAngle = 0.0f;
  ws.ScreenDataOn = false;
  return ws;
}

void setOpenings(Workspace& ws, float frontSteam, float frontExh, float rearSteam, float rearExh) {
  ws.FrontSteamOpen = frontSteam, ws.FrontExhOpen = frontExh;
  ws.RearSteamOpen = rearSteam, ws.RearExhOpen = rearExh;
}

struct Frame {
  RecordingCanvas canvas;
  Sound sound;
  std::vector<DrawCall> pixels;
};

Frame draw(Workspace& ws, unsigned seed = 1, bool positionDisplay = false) {
  Frame f;
  std::mt19937 rng(seed);
  const SteamStep step = advanceSteam(ws, positionDisplay);
  const int flat = drawSteam(f.canvas, ws, UpdateOutlines(ws), step.frame, rng);
  playSteamSounds(step, flat, ws.ErrorBeepOn, f.sound);
  f.pixels = f.canvas.ofKind(DrawKind::Pixel);
  return f;
}

// Half-open screen rectangle [x0, x1) x [y0, y1).
struct Box {
  int x0, x1, y0, y1;
  bool has(const DrawCall& p) const { return p.x1 >= x0 && p.x1 < x1 && p.y1 >= y0 && p.y1 < y1; }
};

int count(const std::vector<DrawCall>& pixels, Rgb colour, const Box& box) {
  return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [&](const DrawCall& p) {
    return p.colour == colour && box.has(p);
  }));
}
int count(const std::vector<DrawCall>& pixels, Rgb colour) {
  return count(pixels, colour, {INT_MIN, INT_MAX, INT_MIN, INT_MAX});
}

TEST(Steam, EachSpaceGetsItsShareOfSpecksInItsColour) {
  Workspace ws = posed();
  // Front open to exhaust (blue, exhaust blue); rear closed after admission (magenta, exhaust
  // white).
  setOpenings(ws, -0.1f, 0.1f, -0.1f, -0.1f);
  ws.RearEventMark = 'E';
  ws.FrontDensity = 370.0f;  // 560 specks at zoom 28
  ws.RearDensity = 185.0f;   // 280
  const Outlines o = UpdateOutlines(ws);
  const auto& c = o.Cylinder;
  const auto& p = o.Passage;
  const auto& v = o.Valve;
  const int top = c[0].y, face = c[2].y, stem = o.ValveStemEnd.y, h = face - top;
  const int w = c[13].x - c[0].x;
  const Frame f = draw(ws);
  EXPECT_EQ(ws.FrontSpeckCount, 560);
  EXPECT_EQ(ws.RearSpeckCount, 280);

  // Live steam: the pipe above the chest, the chest above the valve, the gaps beside the valve.
  // The spaces above the chest stand on its top line and climb.
  const Box pipe{c[0].x, c[13].x, top - (face - stem) + 1, top + 1};
  const Box chest{c[1].x, c[12].x, top, v[0].y};
  const Box rearGap{c[1].x, v[7].x, v[0].y, face}, frontGap{v[2].x, c[12].x, v[0].y, face};
  const Box abovePipe{pipe.x0, pipe.x1, pipe.y0, top};  // the rows only the pipe has
  EXPECT_EQ(
      count(f.pixels, colour::Admission, abovePipe) + count(f.pixels, colour::Admission, chest),
      151 + 302);
  EXPECT_EQ(count(f.pixels, colour::Admission, rearGap), 302);
  EXPECT_EQ(count(f.pixels, colour::Admission, frontGap), 302);

  // Cylinder ends: the bore beside the piston, the slanted passage, the steam port.
  const Box frontBore{o.Piston[0].x, c[8].x, c[8].y, c[7].y};
  const Box rearBore{c[5].x, o.Piston[1].x, c[5].y, c[6].y};
  const Box frontPort{p[7].x, c[10].x, face, p[6].y}, rearPort{c[3].x, p[2].x, face, p[3].y};
  EXPECT_EQ(count(f.pixels, colour::Exhaust, frontPort), 28);
  EXPECT_EQ(count(f.pixels, colour::Expansion, rearPort), 14);
  // Exhaust spaces: blue from the open front end, white from the closed rear end.
  const Box cavity{v[6].x, v[3].x, v[4].y, face};
  const Box exhaustPort{c[0].x, c[13].x, face, face + (face - stem)};
  const Box stack{c[13].x, c[13].x + w, top - h + 1, top + 1};
  const Box plume{INT_MIN, INT_MAX, top - 4 * h + 1, top - h + 1};
  for (auto [colour, n] : {std::pair{colour::Exhaust, 560}, std::pair{kSpentSteamColour, 280}}) {
    EXPECT_EQ(count(f.pixels, colour, cavity), n / 10);
    EXPECT_EQ(count(f.pixels, colour, exhaustPort), n / 15);
    EXPECT_EQ(count(f.pixels, colour, stack), n / 20);
    EXPECT_EQ(count(f.pixels, colour, plume), n / 6);
  }
  EXPECT_EQ(count(f.pixels, kSpentSteamColour), 28 + 18 + 14 + 46);

  // Every passage speck lies between the passage's walls: the band leans on the inner wall and
  // keeps the passage's width at the bore, which the passage only widens from.
  auto inPassage = [&](const DrawCall& px, Pt bottom, Pt upper, int side, int width) {
    const int d = bottom.y - px.y1;
    if (d < 0 || d >= bottom.y - upper.y) return false;
    const double wall = bottom.x + (upper.x - bottom.x) * double(d) / (bottom.y - upper.y);
    const double across = side * (px.x1 - wall);
    return across >= -0.5 && across <= width - 0.5;
  };
  int frontPassage = 0, rearPassage = 0;
  for (const DrawCall& px : f.pixels) {
    if (px.colour == colour::Exhaust && px.y1 >= face && !frontBore.has(px) && !frontPort.has(px) &&
        !exhaustPort.has(px)) {
      EXPECT_TRUE(inPassage(px, p[5], p[6], +1, c[8].x - p[5].x)) << px.x1 << "," << px.y1;
      ++frontPassage;
    }
    if (px.colour == colour::Expansion && !rearBore.has(px) && !rearPort.has(px)) {
      EXPECT_TRUE(inPassage(px, p[4], p[3], -1, p[4].x - c[5].x)) << px.x1 << "," << px.y1;
      ++rearPassage;
    }
  }
  // The passage's bottom row is the bore's top row, so a few passage specks count as bore ones.
  EXPECT_EQ(count(f.pixels, colour::Exhaust, frontBore) + frontPassage, 560 + 70);
  EXPECT_EQ(count(f.pixels, colour::Expansion, rearBore) + rearPassage, 280 + 35);
  EXPECT_GT(frontPassage, 50);
  EXPECT_GT(rearPassage, 25);
  EXPECT_EQ(f.pixels.size(),
            151u + 3 * 302 + 560 + 70 + 28 + 280 + 35 + 14 + 56 + 37 + 28 + 93 + 28 + 18 + 14 + 46);
}

TEST(Steam, DensityFollowsTheEventAndIsHeldInRange) {
  struct Case {
    float steam, exh, step, density, expected;
  } cases[] = {
      {0.2f, -0.1f, 10.0f, 100.0f, 250.0f},    // admission: + 10 x 50 x (0.2 + 0.1)
      {-0.1f, 0.25f, 10.0f, 1000.0f, 850.0f},  // exhaust: - 10 x 60 x 0.25
      {0.2f, 0.25f, 10.0f, 1000.0f, 850.0f},   // both open: exhaust wins
      {0.2f, -0.1f, 10.0f, 1990.0f, 2000.0f},  // held at the top
      {-0.1f, 1.0f, 10.0f, 30.0f, 25.0f},      // and at the bottom
      {0.5f, -0.1f, 0.0f, 370.0f, 370.0f},     // stopped: no change
      {0.5f, -0.1f, 0.0f, 20.0f, 25.0f},       // the start value is lifted into range
      {0.2f, -0.1f, std::nanf(""), 500.0f, 25.0f},
  };
  for (const Case& k : cases) {
    Workspace ws = posed();
    setOpenings(ws, k.steam, k.exh, -0.1f, -0.1f);
    ws.RearEventMark = 'C';  // rear shows compression: its density only gets held
    ws.StepAngle = k.step;
    ws.FrontDensity = k.density;
    ws.RearDensity = 20.0f;
    draw(ws);
    EXPECT_FLOAT_EQ(ws.FrontDensity, k.expected) << k.density;
    EXPECT_EQ(ws.FrontSpeckCount, std::lround(k.expected * 28.0 / 18.5)) << k.density;
    EXPECT_FLOAT_EQ(ws.RearDensity, 25.0f);
  }
  // Before its first opening the rear end shows the front's colour, and fills by its own
  // (closed) steam opening: 10 x 50 x (-0.3 + 0.1).
  Workspace ws = posed();
  setOpenings(ws, 0.2f, -0.1f, -0.3f, -0.1f);
  ws.StepAngle = 10.0f;
  ws.RearDensity = 500.0f;
  draw(ws);
  EXPECT_FLOAT_EQ(ws.RearDensity, 400.0f);
}

TEST(Steam, PlumeIsAWedgeWideningUpwards) {
  Workspace ws = posed();
  setOpenings(ws, -0.1f, 0.1f, -0.1f, 0.1f);
  ws.FrontDensity = ws.RearDensity = 2000.0f;
  const Outlines o = UpdateOutlines(ws);
  const int top = o.Cylinder[0].y, h = o.Cylinder[2].y - top;
  const int w = o.Cylinder[13].x - o.Cylinder[0].x, tip = o.Passage[7].x;
  const Frame f = draw(ws);
  int highest = 0, widest = 0, n = 0;
  for (const DrawCall& px : f.pixels) {
    const int d = top - h - px.y1;
    if (d < 0) continue;
    ++n;
    EXPECT_LT(d, 3 * h);
    EXPECT_LE(std::abs(px.x1 - tip), w * double(d) / h + 1.0) << px.x1 << "," << px.y1;
    highest = std::max(highest, d);
    widest = std::max(widest, std::abs(px.x1 - tip));
  }
  EXPECT_EQ(n, 2 * (3027 / 6));
  EXPECT_GT(highest, 2 * h);
  EXPECT_GT(widest, w);
}

TEST(Steam, LegendHangsBelowTheBoresRearBottomCorner) {
  Workspace ws = posed();
  ws.ScreenDataOn = true;
  const Pt corner = UpdateOutlines(ws).Cylinder[6];
  const Frame f = draw(ws);
  const struct {
    const char* text;
    int dx, dy;
    Rgb colour;
  } expected[] = {{"ADMISSION", -40, 5, colour::Admission},
                  {"EXPANSION", 40, 5, colour::Expansion},
                  {"EXHAUST", -40, 17, colour::Exhaust},
                  {"COMPRESSION", 24, 17, colour::Compression}};
  ASSERT_EQ(f.canvas.texts().size(), 4u);
  for (const auto& e : expected) {
    const DrawCall* t = f.canvas.findText(e.text);
    ASSERT_NE(t, nullptr) << e.text;
    EXPECT_EQ(t->x1, corner.x + e.dx);
    EXPECT_EQ(t->y1, corner.y + e.dy);
    EXPECT_EQ(t->colour, e.colour);
  }
  EXPECT_EQ(f.canvas.ofKind(DrawKind::FontColour).back().colour, colour::Black);

  ws.ScreenDataOn = false;
  EXPECT_TRUE(draw(ws).canvas.texts().empty());
}

std::vector<Sound::Event> beatsOver(Workspace& ws, std::initializer_list<float> frontExh,
                                    bool positionDisplay = false) {
  std::vector<Sound::Event> events;
  for (float exh : frontExh) {
    ws.FrontExhOpen = exh;
    const Frame f = draw(ws, 1, positionDisplay);
    events.insert(events.end(), f.sound.events().begin(), f.sound.events().end());
  }
  return events;
}

TEST(Steam, ExhaustBeatFollowsTheOtherEndsLastBeat) {
  Workspace ws = posed();
  setOpenings(ws, -0.1f, 0.0f, -0.1f, 0.0f);  // rear exhaust edge exactly closed: never arms
  ws.FrontDensity = 700.0f;
  ws.RearBeatDensity = 500.0f;
  // Closed arms, the opening beats once, staying open does not beat again.
  const auto events = beatsOver(ws, {0.1f, -0.1f, 0.0f, 0.1f, 0.2f});
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, Sound::Kind::Volume);
  EXPECT_EQ(events[0].volumeWord, 0x40004000u);
  EXPECT_EQ(events[1].kind, Sound::Kind::Play);
  EXPECT_EQ(events[1].fileName, "Exhaust.wav");
  EXPECT_FLOAT_EQ(ws.FrontBeatDensity, 700.0f);
  // While the position display is up, a closing does not arm.
  EXPECT_TRUE(beatsOver(ws, {-0.1f, 0.1f, -0.1f, 0.1f}, true).empty());

  // Both ends in one frame: the rear's beat already hears the front's new density; the front's
  // other-end density of 0 lies outside the table and leaves the volume alone.
  Workspace both = posed();
  setOpenings(both, -0.1f, 0.1f, -0.1f, 0.1f);
  both.FrontDensity = 700.0f, both.RearDensity = 300.0f;
  both.FrontBeatArmed = both.RearBeatArmed = true;
  const Frame f = draw(both);
  ASSERT_EQ(f.sound.events().size(), 3u);
  EXPECT_EQ(f.sound.events()[0].kind, Sound::Kind::Play);
  EXPECT_EQ(f.sound.events()[1].volumeWord, 0x50005000u);
  EXPECT_EQ(f.sound.events()[2].kind, Sound::Kind::Play);
  EXPECT_FLOAT_EQ(both.RearBeatDensity, 300.0f);
}

TEST(Steam, VolumeTableEdges) {
  const struct {
    int v;
    std::optional<quint16> level;
  } cases[] = {{23, {}},       {24, 0x0700},   {100, 0x0700},  {101, 0x1400},  {200, 0x1400},
               {201, 0x2800},  {400, 0x2800},  {401, 0x4000},  {600, 0x4000},  {601, 0x5000},
               {800, 0x5000},  {801, 0x6000},  {1000, 0x6000}, {1001, 0x7000}, {1200, 0x7000},
               {1201, 0x8000}, {2001, 0x8000}, {2002, {}},     {0, {}},        {INT_MIN, {}}};
  for (const auto& k : cases) EXPECT_EQ(exhaustVolumeLevel(k.v), k.level) << k.v;
  EXPECT_EQ(bothChannels(0x4000), 0x40004000u);
}

TEST(Steam, FlatRegionsCountAsOnePixelAndBeepOnce) {
  Workspace flatChest = posed();
  setDimension(flatChest, dim::ValveChamberHeight, 0.0f);
  EXPECT_EQ(draw(flatChest).sound.beeps(), 1);
  flatChest.ErrorBeepOn = false;
  EXPECT_EQ(draw(flatChest).sound.beeps(), 0);

  // The port's bottom level with the bore's top flattens both passages.
  Workspace flatPassages = posed();
  setDimension(flatPassages, dim::ExhaustPortWidth, 1.03125f);
  EXPECT_EQ(draw(flatPassages).sound.beeps(), 2);
}

// Counts pixels without keeping them, for frames too large to record.
class CountingCanvas final : public Canvas {
 public:
  long pixels = 0;
  CanvasSize size() const override { return {1280, 1024}; }
  void clear(Rgb) override {}
  void setPenColour(Rgb) override {}
  void setPenWidth(int) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void ellipse(int, int, int, int) override {}
  void arc(int, int, int, int, int, int, int, int) override {}
  void setPixel(int, int, Rgb) override { ++pixels; }
  void setFontColour(Rgb) override {}
  void setFontSize(int) override {}
  void setFontStyle(FontStyle) override {}
  void textOut(int, int, std::string_view) override {}
  void setClip(const CanvasClip&) override {}
  void clearClip() override {}
};

TEST(Steam, BadInputDrawsABoundedFrame) {
  static constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  static constexpr float inf = std::numeric_limits<float>::infinity();
  for (auto spoil : std::initializer_list<void (*)(Workspace&)>{
           [](Workspace& ws) { ws.ViewZoom = std::nanf(""); },
           [](Workspace& ws) { ws.ViewZoom = 1e6f; },
           [](Workspace& ws) { setOpenings(ws, nan, inf, -inf, nan); },
           [](Workspace& ws) { ws.FrontDensity = ws.RearBeatDensity = inf; },
           [](Workspace& ws) { setDimension(ws, dim::CylinderBoreLength, 1e30f); },
           [](Workspace& ws) { setDimension(ws, dim::ExhaustPortWidth, -3.0f); }}) {
    Workspace ws = posed();
    ws.StepAngle = 10.0f;
    spoil(ws);
    CountingCanvas canvas;
    Sound sound;
    std::mt19937 rng(1);
    drawSteam(canvas, ws, UpdateOutlines(ws), advanceSteam(ws, false).frame, rng);
    // No space gets more specks than the densest end at the greatest zoom.
    EXPECT_LE(canvas.pixels, 20L * 324324);
    EXPECT_GE(ws.FrontDensity, 25.0f);
    EXPECT_LE(ws.FrontDensity, 2000.0f);
    EXPECT_GE(ws.RearDensity, 25.0f);
    EXPECT_LE(ws.RearDensity, 2000.0f);
  }
}

TEST(Steam, SwitchCaptionNamesTheNextClick) {
  Workspace ws = posed();
  ws.FrontDensity = 640.0f;
  EXPECT_EQ(toggleSteamDisplay(ws), "SetS&teamDisp Off");
  EXPECT_TRUE(ws.SteamDisplayOn);
  EXPECT_EQ(toggleSteamDisplay(ws), "SetS&teamDisp On");
  EXPECT_FALSE(ws.SteamDisplayOn);
  EXPECT_FLOAT_EQ(ws.FrontDensity, 640.0f);
}

}  // namespace
}  // namespace vek1
