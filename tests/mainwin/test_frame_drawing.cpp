// The main view's frame as the recording canvas sees it: where the gear, its outlines, marks and
// rods land for the factory set, the texts around it, the error indicator's cycle, the undo line,
// the dynamic-variable list, the window titles and the animation tick.
//
// Expected coordinates are worked out here from the dimensions and the mapping
// x = round(H * 28 + 115), y = round(-V * 28 + 270) of the default view, not by asking the
// drawing code's own helpers.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>

#include "recording_sound.h"
#include "canvas.h"
#include "painter_canvas.h"
#include "recording_canvas.h"
#include "dimensions.h"
#include "dynvar.h"
#include "frame_tick.h"
#include "numbers.h"
#include "outlines.h"
#include "page_canvas.h"
#include "solver.h"
#include "sound.h"
#include "valve.h"
#include "view.h"

namespace vek1 {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kBlack{0, 0, 0};

// Nearest pixel, halves to even (the default rounding mode).
int px(double v) {
  return static_cast<int>(std::nearbyint(v));
}

// The default view: 28 pixels per unit, origin at (115, 270).
struct XY {
  int x, y;
  friend bool operator==(const XY&, const XY&) = default;
};
XY toScreen(double h, double v) {
  return {px(h * 28.0 + 115.0), px(-v * 28.0 + 270.0)};
}
XY pivot(const Workspace& ws, int i) {
  return toScreen(ws.Pivots.H[i], ws.Pivots.V[i]);
}

std::string fmt(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

// A factory workspace after start-up, gear stopped so a tick draws the pose it solves.
Workspace stopped(float driverAngle = 0.0f) {
  Workspace ws;
  StartUp(ws);
  ws.DriverAngle = driverAngle;
  ws.StepAngle = 0.0f;
  return ws;
}

struct Frame {
  RecordingCanvas canvas;
  RecordingSoundSink sound;
  std::mt19937 rng{7};
  FrameOutcome outcome;

  FrameOutcome tick(Workspace& ws) {
    FrameContext context{sound, rng, false};
    canvas.reset();
    outcome = AnimationTick(canvas, ws, context);
    return outcome;
  }
  // Draws the state as it stands (no solve), with the pose last solved.
  FrameOutcome redraw(Workspace& ws) {
    FrameContext context{sound, rng, false};
    canvas.reset();
    outcome = runFrame(canvas, ws, projectPivots(ws), UpdateOutlines(ws), context);
    return outcome;
  }
};

bool hasEllipse(const RecordingCanvas& c, int l, int t, int r, int b, Rgb colour) {
  for (const DrawCall& e : c.ofKind(DrawKind::Ellipse)) {
    if (e.x1 == l && e.y1 == t && e.x2 == r && e.y2 == b && e.colour == colour) return true;
  }
  return false;
}

std::optional<Rgb> lineColour(const RecordingCanvas& c, XY from, XY to) {
  for (const DrawCall& l : c.lines()) {
    if (l.x1 == from.x && l.y1 == from.y && l.x2 == to.x && l.y2 == to.y) return l.colour;
  }
  return std::nullopt;
}

// A moveTo to the first point followed at once by a lineTo to each later point, all in `colour`.
testing::AssertionResult drawnAsPolyline(const RecordingCanvas& c, const std::vector<XY>& pts,
                                         Rgb colour) {
  const auto& calls = c.calls();
  for (size_t i = 0; i < calls.size(); ++i) {
    const DrawCall& m = calls[i];
    if (m.kind != DrawKind::MoveTo || m.x1 != pts[0].x || m.y1 != pts[0].y) continue;
    size_t k = 1;
    for (; k < pts.size() && i + k < calls.size(); ++k) {
      const DrawCall& l = calls[i + k];
      if (l.kind != DrawKind::LineTo || l.x2 != pts[k].x || l.y2 != pts[k].y ||
          !(l.colour == colour))
        break;
    }
    if (k == pts.size()) return testing::AssertionSuccess();
  }
  std::string want;
  for (const XY& p : pts) want += " (" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  return testing::AssertionFailure() << "no connected polyline" << want;
}

const DrawCall* textAt(const RecordingCanvas& c, int x, int y) {
  for (const DrawCall& t : c.calls())
    if (t.kind == DrawKind::Text && t.x1 == x && t.y1 == y) return &t;
  return nullptr;
}

void expectText(const RecordingCanvas& c, const std::string& text, int x, int y,
                Rgb colour = kBlack) {
  const DrawCall* t = c.findText(text);
  ASSERT_NE(t, nullptr) << "missing text \"" << text << "\"";
  EXPECT_EQ(t->x1, x) << text;
  EXPECT_EQ(t->y1, y) << text;
  EXPECT_EQ(t->colour, colour) << text;
}

// ---------------------------------------------------------------------------------------------
// The gear

TEST(FrameMechanism, DriverCrankAndPivotCirclesForTheFactorySet) {
  Workspace ws = stopped(0.0f);
  Frame f;
  f.tick(ws);
  const RecordingCanvas& c = f.canvas;

  // Driver 7 units: wheel radius 3.5 * 28 = 98, hub 0.56 * 28 = 15.68 -> 16, both about (115, 270).
  EXPECT_TRUE(hasEllipse(c, 17, 172, 213, 368, kBlack));
  EXPECT_TRUE(hasEllipse(c, 99, 254, 131, 286, kBlack));
  // Crank pin: stroke 3 puts it 1.5 units ahead, x = 157; radius 0.35 * 28 = 9.8 -> 10.
  EXPECT_TRUE(hasEllipse(c, 147, 260, 167, 280, kBlack));
  // Crosshead 10.5 units ahead (crank 1.5 + rod 9): x = 409, radius 0.28 * 28 = 7.84 -> 8.
  EXPECT_EQ(pivot(ws, 3), (XY{409, 270}));
  EXPECT_TRUE(hasEllipse(c, 401, 262, 417, 278, kBlack));

  // Pivot circles of radius 0.14 * 28 = 3.92 -> 4 at points 4 to 13 and at the reverse-arm end.
  for (int i = 4; i <= 13; ++i) {
    const XY p = pivot(ws, i);
    EXPECT_TRUE(hasEllipse(c, p.x - 4, p.y - 4, p.x + 4, p.y + 4, kBlack)) << "point " << i;
  }
  const XY arm = toScreen(ws.ReverseArmPos, ws.Pivots.V[18]);
  EXPECT_TRUE(hasEllipse(c, arm.x - 4, arm.y - 4, arm.x + 4, arm.y + 4, kBlack));

  // A quarter turn later the crank pin is straight below the centre: (115, 270 + 42).
  Workspace quarter = stopped(90.0f);
  f.tick(quarter);
  EXPECT_TRUE(hasEllipse(f.canvas, 105, 302, 125, 322, kBlack));
  EXPECT_TRUE(hasEllipse(f.canvas, 17, 172, 213, 368, kBlack));
}

TEST(FrameMechanism, PenWidthFollowsTheLineWidthSetting) {
  Workspace ws = stopped();
  ws.LineWidth = 2;
  Frame f;
  f.tick(ws);
  ASSERT_FALSE(f.canvas.lines().empty());
  for (const DrawCall& l : f.canvas.lines()) EXPECT_EQ(l.penWidth, 2);
}

TEST(FrameMechanism, CounterweightIsTheArcOppositeTheCrank) {
  // Radius 0.35 * 7 * 28 = 68.6 about the pan point; radials reach 7 * 28 = 196 at
  // DriverAngle -+ 110 degrees, screen y taking +sin.
  Workspace ws = stopped(0.0f);
  Frame f;
  f.tick(ws);
  auto arcs = f.canvas.ofKind(DrawKind::Arc);
  ASSERT_FALSE(arcs.empty());
  const DrawCall& cw = arcs.front();
  EXPECT_EQ(cw.colour, kBlack);
  EXPECT_EQ((std::vector<int>{cw.x1, cw.y1, cw.x2, cw.y2}), (std::vector<int>{46, 201, 184, 339}));
  // -110: 115 + 196 cos = 47.96, 270 + 196 sin = 85.82; +110 mirrors it below.
  EXPECT_EQ((std::vector<int>{cw.x3, cw.y3, cw.x4, cw.y4}), (std::vector<int>{48, 86, 48, 454}));

  // Crank pin down (90): radials at -20 and 200 degrees, the arc runs over the top.
  Workspace quarter = stopped(90.0f);
  f.tick(quarter);
  const DrawCall q = f.canvas.ofKind(DrawKind::Arc).front();
  EXPECT_EQ((std::vector<int>{q.x3, q.y3, q.x4, q.y4}), (std::vector<int>{299, 203, -69, 203}));

  // The arc is centred on the pan point itself, not on the rounded driver centre.
  Workspace panned = stopped(0.0f);
  panned.ViewPanX = 115.4f;
  panned.ViewPanY = 270.4f;
  f.tick(panned);
  const DrawCall p = f.canvas.ofKind(DrawKind::Arc).front();
  EXPECT_EQ((std::vector<int>{p.x1, p.y1, p.x2, p.y2}), (std::vector<int>{47, 202, 184, 339}));
  EXPECT_EQ((std::vector<int>{p.x3, p.y3, p.x4, p.y4}), (std::vector<int>{48, 86, 48, 455}));
}

TEST(FrameMechanism, RedMarksAndTheLinkArc) {
  Workspace ws = stopped(0.0f);
  Frame f;
  f.tick(ws);
  const RecordingCanvas& c = f.canvas;

  // Fixed pivots: origin (115, 270), link pivot (6.207, 1.642) -> (289, 224), anchor pivot
  // (9.207, -1.677) -> (373, 317). Each gets strokes from (x+5, y+-5) to (x-6, y-+6).
  for (XY p : {XY{115, 270}, XY{289, 224}, XY{373, 317}}) {
    EXPECT_EQ(lineColour(c, {p.x + 5, p.y + 5}, {p.x - 6, p.y - 6}), kRed) << p.x << "," << p.y;
    EXPECT_EQ(lineColour(c, {p.x + 5, p.y - 5}, {p.x - 6, p.y + 6}), kRed) << p.x << "," << p.y;
  }
  // The link's centre of curvature gets the small cross.
  const XY k = pivot(ws, 14);
  EXPECT_EQ(lineColour(c, {k.x + 1, k.y + 1}, {k.x - 2, k.y - 2}), kRed);
  EXPECT_EQ(lineColour(c, {k.x + 1, k.y - 1}, {k.x - 2, k.y + 2}), kRed);

  // The link: radius 5 * 28 = 140 about point 14, from the radial through
  // (6.207 + 0.25, 1.642 + 1.25) -> (296, 189) to the one through (6.457, 0.392) -> (296, 259).
  auto arcs = c.ofKind(DrawKind::Arc);
  ASSERT_EQ(arcs.size(), 2u);
  const DrawCall& link = arcs[1];
  EXPECT_EQ(link.colour, kRed);
  EXPECT_EQ((std::vector<int>{link.x1, link.y1, link.x2, link.y2}),
            (std::vector<int>{k.x - 140, k.y - 140, k.x + 140, k.y + 140}));
  EXPECT_EQ((std::vector<int>{link.x3, link.y3, link.x4, link.y4}),
            (std::vector<int>{296, 189, 296, 259}));
}

TEST(FrameMechanism, EachRodInItsColour) {
  // Off-centre reverse arm so the arm leans and every rod has length.
  Workspace ws = stopped(40.0f);
  ws.ReverseArmPos = ws.RevArmPositions[2];
  Frame f;
  f.tick(ws);
  const RecordingCanvas& c = f.canvas;
  struct {
    int from, to;
    Rgb colour;
    const char* name;
  } rods[] = {{3, 2, kRed, "main rod"},          {4, 7, kGreen, "radius rod"},
              {7, 9, kCyan, "valve lever"},      {10, 11, kBlue, "coupler"},
              {11, 12, kMagenta, "anchor link"}, {5, 18, kBlue, "reverse arm"}};
  for (const auto& rod : rods) {
    EXPECT_EQ(lineColour(c, pivot(ws, rod.from), pivot(ws, rod.to)), rod.colour) << rod.name;
  }
  // The reach rod runs level from the arm's end back to above the driver centre.
  const XY end = pivot(ws, 18);
  EXPECT_EQ(lineColour(c, end, XY{115, end.y}), kBlack);
}

// The outlines worked out from the cylinder dimensions, in model units.
struct CylDims {
  double CC, V3, Db, Lb, Ps, PistonToCrosshead, Pw, Surface, StemCl, E, BR, BF, SR, SF, ChH, ChL,
      Vh, LR, LF, CR, CF, VS;
};

struct Expected {
  std::vector<XY> cylinder, passage, piston, valveClosed;
  XY rodEnd, stemEnd;
};

Expected outlinesFor(const CylDims& d, double h3, double h4) {
  const double P = d.E / 2, F = d.V3 + d.Surface, T = F + d.ChH, top = d.V3 + d.Db / 2,
               bottom = d.V3 - d.Db / 2, V4 = d.V3 + d.StemCl;
  Expected e;
  auto s = toScreen;
  e.cylinder = {s(d.CC - P, T),
                s(d.CC - d.ChL / 2, T),
                s(d.CC - d.ChL / 2, F),
                s(d.CC - P - d.BR - d.SR, F),
                s(d.CC - P - d.BR - d.SR, F - d.E / 3),
                s(d.CC - d.Lb / 2, top),
                s(d.CC - d.Lb / 2, bottom),
                s(d.CC + d.Lb / 2, bottom),
                s(d.CC + d.Lb / 2, top),
                s(d.CC + P + d.BF + d.SF, F - d.E / 3),
                s(d.CC + P + d.BF + d.SF, F),
                s(d.CC + d.ChL / 2, F),
                s(d.CC + d.ChL / 2, T),
                s(d.CC + P, T)};
  e.passage = {s(d.CC - P, F - d.SR),
               s(d.CC - P, F),
               s(d.CC - P - d.BR, F),
               s(d.CC - P - d.BR, F - d.E / 1.5),
               s(d.CC - d.Lb / 2 + d.Ps, top),
               s(d.CC + d.Lb / 2 - d.Ps, top),
               s(d.CC + P + d.BF, F - d.E / 1.5),
               s(d.CC + P + d.BF, F),
               s(d.CC + P, F),
               s(d.CC + P, F - d.SR)};
  const double c = h3 + d.PistonToCrosshead, w = d.Pw;
  e.piston = {s(c + w / 2, top), s(c - w / 2, top), s(c - w / 2, bottom), s(c + w / 2, bottom),
              s(c + w / 2, top)};
  e.rodEnd = s(c + w / 2, d.V3);
  const double m = h4 + d.VS, h = d.Vh;
  const std::vector<XY> valve = {
      s(m - d.LR, F + h),         s(m + d.LF, F + h),         s(m + d.LF, F), s(m + d.CF, F),
      s(m + d.CF, F + 2 * h / 3), s(m - d.CR, F + 2 * h / 3), s(m - d.CR, F), s(m - d.LR, F)};
  e.valveClosed = {valve.back()};
  e.valveClosed.insert(e.valveClosed.end(), valve.begin(), valve.end());
  e.stemEnd = s(m - d.LR, V4);
  return e;
}

void checkOutlines(const Workspace& ws, const CylDims& d) {
  Frame f;
  Workspace w = ws;
  f.tick(w);
  const Expected e = outlinesFor(d, w.Pivots.H[3], w.Pivots.H[4]);
  ASSERT_EQ(e.cylinder.size(), 14u);
  ASSERT_EQ(e.passage.size(), 10u);
  EXPECT_TRUE(drawnAsPolyline(f.canvas, e.cylinder, kGrey)) << "cylinder";
  EXPECT_TRUE(drawnAsPolyline(f.canvas, e.passage, kGrey)) << "passage";
  EXPECT_TRUE(drawnAsPolyline(f.canvas, e.piston, kBlack)) << "piston";
  EXPECT_TRUE(drawnAsPolyline(f.canvas, e.valveClosed, kBlack)) << "valve";
  EXPECT_EQ(lineColour(f.canvas, pivot(w, 3), e.rodEnd), kBlack) << "piston rod";
  EXPECT_EQ(lineColour(f.canvas, pivot(w, 4), e.stemEnd), kBlack) << "valve stem";
}

// Dimensions are held as singles; the outline arithmetic starts from those values.
double s32(double v) {
  return static_cast<float>(v);
}

TEST(FrameOutlines, FactoryCylinderPassagesPistonAndValve) {
  Workspace ws = stopped(0.0f);
  const CylDims d{s32(16.0),  0.0,        s32(2.125), s32(4.0),   s32(0.312), s32(7.0),
                  s32(0.5),   s32(1.75),  s32(2.062), s32(0.375), s32(0.187), s32(0.187),
                  s32(0.156), s32(0.156), s32(0.625), s32(2.187), s32(0.5),   s32(0.687),
                  s32(0.687), s32(0.375), s32(0.375), s32(4.793)};
  checkOutlines(ws, d);

  // Two vertices by hand, both exact halves: the chest top 2.375 maps to y 203.5 -> 204, the
  // passage shoulder 1.75 - 0.125 to y 224.5 -> 224 (halves go to even).
  const Expected e = outlinesFor(d, 10.5, 11.0);
  EXPECT_EQ(e.cylinder[0], (XY{558, 204}));
  EXPECT_EQ(e.cylinder[4].y, 224);
}

TEST(FrameOutlines, FrontAndRearSidesKeepTheirOwnDimensions) {
  // Every front/rear pair differs and the cylinder sits above the driver centre, so a swapped
  // side or a forgotten centre-line height moves a vertex.
  Workspace ws = stopped(30.0f);
  auto put = [&ws](int id, float v) {
    EXPECT_TRUE(setDimension(ws, id, v)) << id;
    return static_cast<double>(v);
  };
  const CylDims d{put(dim::CylCtrToDriverCtr, 16.5f),
                  put(dim::CylClAboveDriverCtr, 0.25f),
                  put(dim::CylinderBoreDia, 2.3f),
                  put(dim::CylinderBoreLength, 4.2f),
                  put(dim::CylSteamPortWidth, 0.3f),
                  put(dim::PistonCtrToCrosshead, 7.2f),
                  put(dim::PistonWidth, 0.45f),
                  put(dim::ValveSurfaceToCylCl, 1.8f),
                  put(dim::ValveStemClToCylCl, 2.1f),
                  put(dim::ExhaustPortWidth, 0.4f),
                  put(dim::BridgeWidthRear, 0.15f),
                  put(dim::BridgeWidthFront, 0.22f),
                  put(dim::SteamPortWidthRear, 0.13f),
                  put(dim::SteamPortWidthFront, 0.18f),
                  put(dim::ValveChamberHeight, 0.7f),
                  put(dim::ValveChamberLength, 2.5f),
                  put(dim::ValveHeight, 0.6f),
                  put(dim::ValveLengthRearHalf, 0.66f),
                  put(dim::ValveLengthFrontHalf, 0.72f),
                  put(dim::ValveExhCavityRearHalf, 0.35f),
                  put(dim::ValveExhCavityFrontHalf, 0.41f),
                  put(dim::ValveStem, 4.9f)};
  checkOutlines(ws, d);
}

// ---------------------------------------------------------------------------------------------
// Screen data

// A picture of the frame has no bars, so it has no captions for them; it can name what it shows.
// A picture cut to the part the gear covers (render main): the gear's clip, taken from the page's
// size, still reaches the part's right and bottom edges however far the part stands from the
// frame's corner, so no edge of a panned gear is cut off.
TEST(FrameClip, OnAPageTheGearsClipReachesThePartsFarEdges) {
  Workspace ws;
  StartUp(ws);
  for (bool screenData : {false, true}) {
    ws.ScreenDataOn = screenData;
    RecordingCanvas target(400, 300);
    PageCanvas page(target, {300, 200, {400, 300}}, true);
    page.setClip(gearClip(ws, page.size()));
    ASSERT_TRUE(target.clip());
    EXPECT_EQ(target.clip()->right, 400);
    EXPECT_EQ(target.clip()->bottom, 300);
  }
}

TEST(FrameScreenData, APictureLeavesOutTheBarsCaptionsAndCanCarryACaption) {
  Workspace ws = stopped(40.0f);
  ws.ReverseArmPos = toSingle(ws.RevArmPositions[0] + 1.6);
  RecordingCanvas screen, picture;
  RecordingSoundSink sound;
  std::mt19937 rng(7);
  Workspace a = ws, b = ws;
  FrameContext onScreen{sound, rng, false};
  AnimationTick(screen, a, onScreen);
  FrameContext forPicture{sound, rng, false, true, frameCaption(ws)};
  AnimationTick(picture, b, forPicture);
  for (const char* caption : {"Pan Vert", "Pan Horz", "Zoom"}) {
    EXPECT_NE(screen.findText(caption), nullptr) << caption;
    EXPECT_EQ(picture.findText(caption), nullptr) << caption;
  }
  EXPECT_NE(picture.findTextContaining("Rev Arm"), nullptr);
  EXPECT_EQ(frameCaption(ws), "Nominal    notch +1.600 from mid gear    crank 40.00 deg");
  EXPECT_NE(picture.findText(frameCaption(ws)), nullptr);
  EXPECT_EQ(screen.findText(frameCaption(ws)), nullptr);
}

TEST(FrameScreenData, LabelsAndValuesInTheirPlaces) {
  Workspace ws = stopped();
  Frame f;
  f.tick(ws);
  // Values set by hand (a redraw does not solve) so each text's formatting is pinned.
  ws.ReverseArmPos = 6.1794f;
  ws.DriverAngle = 123.456f;
  ws.SelectedStep = 2.5f;
  ws.PistonPos = 320.0f;
  ws.Ports.ValveDisplacement = -0.1234f;
  ws.FrontSteamOpen = 0.0216f;
  ws.FrontExhOpen = -0.3456f;
  ws.RearSteamOpen = -0.333f;
  ws.RearExhOpen = 0.125f;
  ws.ValveLeverAngle = 0.1f;  // radians; shown as 5.73 degrees
  ws.StepAngle = 0.0f;
  f.redraw(ws);
  const RecordingCanvas& c = f.canvas;

  const struct {
    const char* text;
    int x, y;
  } expected[] = {
      {"Pan Vert", 199, 25},          {"Pan Horz", 199, 39},          {"Zoom", 199, 53},
      {"Rev Arm  6.179  ", 459, 25},  {"Driv Ang 123.46  ", 459, 39}, {"Step Ang  2.50  ", 459, 53},
      {"Piston %  50.00  ", 545, 25}, {"ValveCen -0.123", 545, 37},   {"ValveFSt  0.022", 545, 49},
      {"ValveFEx -0.346", 545, 61},   {"ValveRSt -0.333", 545, 73},   {"ValveREx  0.125", 545, 85},
      {"ValvLevA   5.73", 545, 97}};
  for (const auto& e : expected) expectText(c, e.text, e.x, e.y);

  // A piston a hair behind dead centre reads 0.00, not -0.00.
  ws.PistonPos = -0.00003f;
  f.redraw(ws);
  expectText(f.canvas, "Piston %   0.00  ", 545, 25);
}

TEST(FrameScreenData, SolvedPoseShowsItsOwnValues) {
  Workspace ws = stopped(0.0f);
  Frame f;
  f.tick(ws);
  // Mid gear at dead centre: the reverse arm at its centre, the piston at 0 %.
  expectText(f.canvas, "Rev Arm " + fmt("%6.3f", ws.ReverseArmPos) + "  ", 459, 25);
  expectText(f.canvas, "Piston %   0.00  ", 545, 25);
  expectText(f.canvas, "ValveFSt" + fmt("%7.3f", ws.FrontSteamOpen), 545, 49);
  expectText(f.canvas, "ValvLevA" + fmt("%7.2f", ws.ValveLeverAngle * 180.0 / std::numbers::pi),
             545, 97);
}

TEST(FrameScreenData, CutOffLabelsOnlyWhileRunningBelowTwentyThreeDegrees) {
  Workspace ws = stopped();
  Frame f;
  f.tick(ws);
  ws.FrontCutOffText = "62.5";
  ws.RearCutOffText = "61.0";
  auto labelsAt = [&](float step) {
    // No closing edge between frames, so the texts set above stay.
    ws.PrevPistonPos = ws.PistonPos;
    ws.PrevFrontSteam = ws.FrontSteamOpen;
    ws.PrevRearSteam = ws.RearSteamOpen;
    ws.FrontCutOffHold = ws.RearCutOffHold = 5;
    ws.StepAngle = step;
    f.redraw(ws);
    return f.canvas.findText("FrontCO% ") != nullptr;
  };
  EXPECT_FALSE(labelsAt(0.0f));
  EXPECT_FALSE(f.canvas.findText("RearCO% "));
  EXPECT_FALSE(f.canvas.findText("62.5"));
  EXPECT_TRUE(labelsAt(22.9f));
  EXPECT_FALSE(labelsAt(23.0f));
  EXPECT_FALSE(labelsAt(45.0f));

  ASSERT_TRUE(labelsAt(10.0f));
  expectText(f.canvas, "FrontCO% ", 545, 109);
  expectText(f.canvas, "RearCO% ", 545, 121);
  expectText(f.canvas, "62.5", 600, 109);
  expectText(f.canvas, "61.0", 600, 121);

  // Each value stays for as many frames as its hold counter says; the labels stay on.
  ws.FrontCutOffHold = 2;
  ws.RearCutOffHold = 1;
  f.redraw(ws);
  EXPECT_NE(f.canvas.findText("62.5"), nullptr);
  EXPECT_NE(f.canvas.findText("61.0"), nullptr);
  f.redraw(ws);
  EXPECT_NE(f.canvas.findText("62.5"), nullptr);
  EXPECT_EQ(f.canvas.findText("61.0"), nullptr);
  f.redraw(ws);
  EXPECT_EQ(f.canvas.findText("62.5"), nullptr);
  EXPECT_EQ(textAt(f.canvas, 600, 121), nullptr);
  EXPECT_NE(f.canvas.findText("FrontCO% "), nullptr);
}

TEST(FrameScreenData, RunningGearMeasuresAndShowsACutOff) {
  // Full forward gear at 5 degrees a tick: within a turn the front steam edge closes and the
  // measured value is shown beside its label.
  Workspace ws = stopped(0.0f);
  ws.ReverseArmPos = ws.RevArmPositions[2];
  ws.StepAngle = 5.0f;
  Frame f;
  bool shown = false;
  for (int i = 0; i < 80 && !shown; ++i) {
    f.tick(ws);
    if (const DrawCall* t = textAt(f.canvas, 600, 109)) {
      shown = true;
      EXPECT_EQ(t->text, ws.FrontCutOffText);
      const double percent = std::stod(t->text);
      EXPECT_GT(percent, 0.0);
      EXPECT_LT(percent, 100.0);
    }
  }
  EXPECT_TRUE(shown);

  // The same run with screen data off measures nothing.
  Workspace dark = stopped(0.0f);
  dark.ReverseArmPos = dark.RevArmPositions[2];
  dark.StepAngle = 5.0f;
  dark.ScreenDataOn = false;
  for (int i = 0; i < 80; ++i) f.tick(dark);
  EXPECT_EQ(dark.FrontCutOffText, "");
  EXPECT_EQ(dark.RearCutOffText, "");
  EXPECT_EQ(dark.FrontCutOffHold, 0);
}

TEST(FrameScreenData, ScreenDataOffShowsNoTextAtAll) {
  Workspace ws = stopped();
  ws.StepAngle = 10.0f;
  ws.FrontCutOffText = "50.0";
  ws.FrontCutOffHold = 10;
  ws.DynVarShown = true;
  ws.UndoMode = true;
  ws.UndoPending = 1;
  UndoRecord(ws, dim::RadiusRod, 5.0f, 5.25f);
  ws.ScreenDataOn = false;
  // A steam edge "closing" between frames must not be measured either.
  ws.PrevFrontSteam = 0.5f;
  Frame f;
  f.tick(ws);
  EXPECT_TRUE(f.canvas.texts().empty()) << f.canvas.texts().front().text;
  EXPECT_EQ(f.outcome.undoButtonTop, -1);
  EXPECT_EQ(ws.FrontCutOffHold, 10);
  EXPECT_EQ(ws.FrontCutOffText, "50.0");
  // The gear itself is still drawn.
  EXPECT_TRUE(hasEllipse(f.canvas, 17, 172, 213, 368, kBlack));
}

TEST(FrameScreenData, LargeFontScalesEveryTextPosition) {
  // The factors are singles a hair off 1.27 and 1.22, so 25 * 1.22 lands just above 30.5.
  Workspace ws = stopped();
  ws.TextScaleX = 1.27f;
  ws.TextScaleY = 1.22f;
  ws.StepAngle = 10.0f;
  ws.FrontCutOffText = "55.5";
  ws.FrontCutOffHold = 3;
  ws.DynVarShown = true;
  Frame f;
  f.tick(ws);
  const RecordingCanvas& c = f.canvas;
  expectText(c, "Pan Vert", 253, 31);  // 199 * 1.27 = 252.73, 25 * 1.22 = 30.5000007
  expectText(c, "Pan Horz", 253, 48);
  expectText(c, "Zoom", 253, 65);
  ASSERT_NE(c.findTextContaining("Rev Arm "), nullptr);
  EXPECT_EQ(c.findTextContaining("Rev Arm ")->x1, 583);  // 459 * 1.27 = 582.93
  EXPECT_EQ(c.findTextContaining("ValveCen")->x1, 692);  // 545 * 1.27 = 692.15
  EXPECT_EQ(c.findTextContaining("ValveCen")->y1, 45);   // 37 * 1.22 = 45.14
  EXPECT_EQ(c.findTextContaining("ValvLevA")->y1, 118);  // 97 * 1.22 = 118.34
  expectText(c, "FrontCO% ", 692, 133);                  // 109 * 1.22 = 132.98
  expectText(c, "55.5", 762, 133);                       // 600 * 1.27 = 761.99999
  expectText(c, "RearCO% ", 692, 148);                   // 121 * 1.22 = 147.62
  // The empty dynamic-variable box: 377 * 1.27 = 478.79; 71, 81, 95 * 1.22 = 86.62, 98.82, 115.9.
  expectText(c, "* First Select Dimensions *", 479, 99, kRed);
  EXPECT_NE(textAt(c, 479, 87), nullptr);
  EXPECT_NE(textAt(c, 479, 116), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Error indicator

TEST(FrameErrorIndicator, NineFramesShownThenOneSoundThenReleasedAfterTwenty) {
  Workspace ws = stopped();
  ws.ErrorFlag = true;
  Frame f;
  for (int frame = 1; frame <= 25; ++frame) {
    f.tick(ws);
    const auto visible = f.outcome.errorItemVisible;
    if (frame <= 9) {
      EXPECT_EQ(visible, std::optional<bool>(true)) << "frame " << frame;
      EXPECT_TRUE(f.sound.plays().empty()) << "frame " << frame;
    } else if (frame == 10) {
      EXPECT_EQ(visible, std::optional<bool>(false));
      EXPECT_EQ(f.sound.plays(), std::vector<QString>{QStringLiteral("Error.wav")});
    } else {
      EXPECT_EQ(visible, std::nullopt) << "frame " << frame;
    }
    if (frame <= 20) {
      EXPECT_TRUE(ws.ErrorFlag) << "frame " << frame;
      EXPECT_EQ(ws.ErrorFrames, frame);
    } else {
      EXPECT_FALSE(ws.ErrorFlag) << "frame " << frame;
      EXPECT_EQ(ws.ErrorFrames, 0) << "frame " << frame;
    }
  }
  EXPECT_EQ(f.sound.plays().size(), 1u);
}

TEST(FrameErrorIndicator, LinkageThatCannotCloseRepeatsTheCycleOnlyWithTheBeepSwitchOn) {
  // At a quarter turn the coupler's lower end is 3.3 units from the anchor pivot, which a
  // 0.1 anchor link cannot bridge with a 2.25 coupler. (At dead centre it happens to close.)
  Workspace ws = stopped(90.0f);
  ASSERT_TRUE(setDimension(ws, dim::AnchorLinkLength, 0.1f));
  Frame f;
  f.tick(ws);
  EXPECT_EQ(f.outcome.errorItemVisible, std::optional<bool>(true));
  // Released after frame 21 and raised again by the next solve: a second sound at frame 31.
  for (int frame = 2; frame <= 31; ++frame) f.tick(ws);
  EXPECT_EQ(f.sound.plays().size(), 2u);

  Workspace quiet = stopped(90.0f);
  ASSERT_TRUE(setDimension(quiet, dim::AnchorLinkLength, 0.1f));
  quiet.ErrorBeepOn = false;
  Frame g;
  for (int frame = 1; frame <= 31; ++frame) {
    g.tick(quiet);
    EXPECT_EQ(g.outcome.errorItemVisible, std::nullopt);
  }
  EXPECT_FALSE(quiet.ErrorFlag);
  EXPECT_TRUE(g.sound.events().empty());
}

TEST(FrameErrorIndicator, WaitsWhileScreenDataIsOff) {
  Workspace ws = stopped();
  ws.ErrorFlag = true;
  ws.ScreenDataOn = false;
  Frame f;
  for (int frame = 1; frame <= 15; ++frame) {
    f.tick(ws);
    EXPECT_EQ(f.outcome.errorItemVisible, std::nullopt);
  }
  EXPECT_TRUE(ws.ErrorFlag);
  EXPECT_EQ(ws.ErrorFrames, 0);
  EXPECT_TRUE(f.sound.events().empty());

  // Turned back on, the cycle starts from its first frame.
  ws.ScreenDataOn = true;
  f.tick(ws);
  EXPECT_EQ(f.outcome.errorItemVisible, std::optional<bool>(true));
  EXPECT_EQ(ws.ErrorFrames, 1);

  // No flag, no change to the item.
  Workspace calm = stopped();
  RecordingSoundSink sound;
  EXPECT_EQ(UpdateErrorIndicator(calm, sound), std::nullopt);
  EXPECT_EQ(calm.ErrorFrames, 0);
}

// ---------------------------------------------------------------------------------------------
// Undo line and dynamic-variable list

TEST(FrameUndoLine, NewestEntryBesideTheButton) {
  Workspace ws = stopped();
  ws.UndoPending = 1;
  UndoRecord(ws, dim::RadiusRod, 5.0f, 5.25f);
  const std::string line = " 1- Radius Rod  5.250 to  5.000";
  Frame f;

  f.tick(ws);  // undo mode off
  EXPECT_EQ(f.canvas.findText(line), nullptr);
  EXPECT_EQ(f.outcome.undoButtonTop, -1);

  ws.UndoMode = true;
  f.tick(ws);
  expectText(f.canvas, line, 320, 73);
  EXPECT_EQ(f.outcome.undoButtonTop, 72);

  ws.DynVarShown = true;  // moves below the list
  f.tick(ws);
  expectText(f.canvas, line, 320, 128);
  EXPECT_EQ(f.outcome.undoButtonTop, 127);

  // Large font: both coordinates follow the horizontal factor (128 * 1.27 = 162.56).
  ws.TextScaleX = 1.27f;
  ws.TextScaleY = 1.22f;
  f.tick(ws);
  expectText(f.canvas, line, 406, 163);
  ws.DynVarShown = false;
  f.tick(ws);
  expectText(f.canvas, line, 406, 93);  // 73 * 1.27 = 92.71

  // A two-digit count fills the field.
  ws.TextScaleX = ws.TextScaleY = 1.0f;
  for (int i = 0; i < 11; ++i) UndoRecord(ws, dim::Stroke, 3.0f, 3.125f);
  f.tick(ws);
  expectText(f.canvas, "12- Stroke  3.125 to  3.000", 320, 73);

  ws.ScreenDataOn = false;
  f.tick(ws);
  EXPECT_EQ(f.outcome.undoButtonTop, -1);
  EXPECT_EQ(f.canvas.findTextContaining("12- "), nullptr);
}

TEST(FrameDynVarList, EmptyListShowsTheRedPromptAndDisablesEveryBar) {
  Workspace ws = stopped();
  Frame f;
  f.tick(ws);
  EXPECT_EQ(f.canvas.findText("* First Select Dimensions *"), nullptr);  // list not shown

  ws.DynVarShown = true;
  f.tick(ws);
  const std::string stars = "*******************************";
  expectText(f.canvas, "* First Select Dimensions *", 377, 81, kRed);
  ASSERT_NE(textAt(f.canvas, 377, 71), nullptr);
  EXPECT_EQ(textAt(f.canvas, 377, 71)->text, stars);
  EXPECT_EQ(textAt(f.canvas, 377, 71)->colour, kRed);
  ASSERT_NE(textAt(f.canvas, 377, 95), nullptr);
  EXPECT_EQ(textAt(f.canvas, 377, 95)->text, stars);
  EXPECT_EQ(f.outcome.dynVarBarEnabled, (std::array<bool, 4>{false, false, false, false}));
  // The screen data after it is black again.
  EXPECT_EQ(f.canvas.findText("Pan Vert")->colour, kBlack);
}

TEST(FrameDynVarList, NewestFirstWithValuesAndBarsFollowTheSlots) {
  Workspace ws = stopped();
  ws.DynVarShown = true;
  DynVarRegisterDimension(ws, dim::Stroke);
  DynVarRegisterDimension(ws, dim::RadiusRod);
  Frame f;
  f.tick(ws);
  EXPECT_EQ(f.outcome.dynVarBarEnabled, (std::array<bool, 4>{true, true, false, false}));
  expectText(f.canvas, "Radius Rod", 377, 71);
  expectText(f.canvas, "Stroke", 377, 83);
  EXPECT_EQ(f.canvas.findText("* First Select Dimensions *"), nullptr);

  DynVarRegisterDimension(ws, dim::ValveLeverUpper);
  DynVarRegisterDimension(ws, dim::AnchorLinkPivotVert);
  f.tick(ws);
  EXPECT_EQ(f.outcome.dynVarBarEnabled, (std::array<bool, 4>{true, true, true, true}));
  const struct {
    const char* name;
    const char* value;
    int y;
  } rows[] = {{"Anchor Link Pivot Vert", "-1.677", 71},
              {"Valve Lever Upper", " 0.459", 83},
              {"Radius Rod", " 5.000", 95},
              {"Stroke", " 3.000", 107}};
  for (const auto& row : rows) {
    expectText(f.canvas, row.name, 377, row.y);
    const DrawCall* v = textAt(f.canvas, 498, row.y);
    ASSERT_NE(v, nullptr) << row.name;
    EXPECT_EQ(v->text, row.value);
    EXPECT_EQ(v->colour, kBlack);
  }

  // The bars follow the slots even while the list itself is hidden.
  ws.DynVarShown = false;
  DynVarClear(ws);
  f.tick(ws);
  EXPECT_EQ(f.outcome.dynVarBarEnabled, (std::array<bool, 4>{false, false, false, false}));
}

// ---------------------------------------------------------------------------------------------
// Titles and the tick

TEST(FrameTitles, EveryWindowTitleCarriesTheSetNameDateTimeAndVersion) {
  Workspace ws = stopped();
  EXPECT_EQ(MainWindowTitle(ws, "D", "T"),
            "VEK1 Outside Admission            Nominal     D   T   Version 2.6");
  EXPECT_EQ(WindowTitle(title::Sine, ws, "D", "T"),
            "VEK1 Outside Admission      Sine Diagram    Nominal     D   T   Version 2.6");
  EXPECT_EQ(WindowTitle(title::Port, ws, "D", "T"),
            "VEK1 Outside Admission      Port Open/Closed    Nominal     D   T   Version 2.6");
  ws.DimSetName = "MyEngine.dve";
  EXPECT_EQ(WindowTitle(title::DataTable, ws, "1/2/25", "10:11:12"),
            "VEK1 Outside Admission  Data Table MyEngine.dve     1/2/25   10:11:12   Version 2.6");
}

TEST(FrameTitles, APictureIsNamedWithoutTheClock) {
  Workspace ws = stopped();
  ws.DimSetName = "Sine Diagram";  // a set named like a window: the last occurrence counts
  const std::string shown = WindowTitle(title::Sine, ws, "9 Dec 2026", "05:26:08");
  EXPECT_EQ(TitleWithoutClock(shown, ws.DimSetName),
            "VEK1 Outside Admission Sine Diagram Sine Diagram");
  // Before the first title is set the window has none of the set's: nothing is cut.
  EXPECT_EQ(TitleWithoutClock("  Valve  Events ", "Nominal"), "Valve Events");
}

TEST(FrameTick, DrawsThePoseSolvedBeforeTheAdvance) {
  Workspace ws = stopped(0.0f);
  ws.StepAngle = 10.0f;
  Frame f;
  f.tick(ws);
  EXPECT_FLOAT_EQ(ws.DriverAngle, 10.0f);
  // The crank pin is still drawn at 0 degrees, (157, 270).
  EXPECT_TRUE(hasEllipse(f.canvas, 147, 260, 167, 280, kBlack));
  // The texts and the counterweight, drawn after the advance, already read the new angle:
  // radials at -100 and 120 degrees.
  EXPECT_NE(f.canvas.findText("Driv Ang  10.00  "), nullptr);
  const DrawCall cw = f.canvas.ofKind(DrawKind::Arc).front();
  EXPECT_EQ((std::vector<int>{cw.x3, cw.y3, cw.x4, cw.y4}), (std::vector<int>{81, 77, 17, 440}));

  // Reverse subtracts; the next picture shows the pose at 10 degrees.
  ws.Direction = "Rev";
  f.tick(ws);
  EXPECT_FLOAT_EQ(ws.DriverAngle, 0.0f);
  // 10 degrees: crank pin at (1.5 cos 10, -1.5 sin 10) -> (156.36, 277.29) -> (156, 277).
  EXPECT_TRUE(hasEllipse(f.canvas, 146, 267, 166, 287, kBlack));
}

TEST(FrameSteam, SteamDisplayIsDrawnUnderTheMechanism) {
  Workspace ws = stopped(90.0f);
  ws.SteamDisplayOn = true;
  Frame f;
  f.tick(ws);
  const auto& calls = f.canvas.calls();
  size_t firstPixel = calls.size(), firstEllipse = calls.size();
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].kind == DrawKind::Pixel && firstPixel == calls.size()) firstPixel = i;
    if (calls[i].kind == DrawKind::Ellipse && firstEllipse == calls.size()) firstEllipse = i;
  }
  ASSERT_LT(firstPixel, calls.size()) << "no steam specks drawn";
  EXPECT_LT(firstPixel, firstEllipse) << "steam must lie under the gear";

  ws.SteamDisplayOn = false;
  f.tick(ws);
  EXPECT_TRUE(f.canvas.ofKind(DrawKind::Pixel).empty());
}

// Dimensions at the edge of the single range, or a link radius next to nothing, put the pivots
// billions of pixels off screen. Every frame, steam and position display included, must still
// draw (under the sanitizers: without an integer overflow) into a real image.
TEST(FrameExtremes, HugeAndTinyDimensionsDrawSafely) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  QImage image(kFrameWidth, kFrameHeight, QImage::Format_RGB32);
  DirtyArea dirty;
  RecordingSoundSink sound;
  std::mt19937 rng(7);
  for (const float value : {3.0e38f, -3.0e38f, 1.0e-30f, 0.0f}) {
    Workspace ws;
    StartUp(ws);
    ws.SteamDisplayOn = true;
    ws.DynVarShown = true;
    ws.UndoMode = true;
    for (int id : {1, 2, 3, 5, 6, 8, 16, 101, 103, 104, 106, 108, 115, 116, 122})
      setDimension(ws, id, value);
    ComputeReverseArmCentre(ws);
    for (const int show : {0, 1, 17, 105, 118}) {
      ws.ShowDimensionId = show;
      QPainterCanvas canvas(image, &dirty);
      FrameContext context{sound, rng, show != 0};
      const FrameOutcome outcome = AnimationTick(canvas, ws, context);
      EXPECT_TRUE(std::isfinite(ws.ViewZoom)) << value << " " << show;
      (void)outcome;
    }
  }
}

}  // namespace
}  // namespace vek1
