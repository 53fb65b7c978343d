#include "gear_check.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "dimension_file.h"
#include "dimensions.h"
#include "numbers.h"
#include "solver.h"
#include "valve.h"

namespace vek1::fuzz {

namespace {

[[noreturn]] void fail(const char* what, int index, float angle, float position) {
  std::fprintf(stderr, "not finite: %s[%d] at driver angle %g, reverse arm %g\n", what, index,
               static_cast<double>(angle), static_cast<double>(position));
  std::abort();
}

void finite(float x, const char* what, int index, const Workspace& ws) {
  if (!std::isfinite(x)) fail(what, index, ws.DriverAngle, ws.ReverseArmPos);
}

}  // namespace

void checkGearRuns(Workspace ws) {
  // The engine settings read from a file are held to their ranges: the performance model relies
  // on them.
  if (!settingsValid(ws.Engine)) {
    std::fprintf(stderr, "engine settings out of range after reading\n");
    std::abort();
  }
  const float centre = ws.RevArmPositions[0];
  const float norm = ws.Frame[dim::RevArmToCentNorm];
  const float max = ws.Frame[dim::RevArmToCentMax];
  // The file's own position, mid gear, normal and full gear both ways.
  const float positions[] = {ws.ReverseArmPos,
                             centre,
                             toSingle(static_cast<double>(centre) + norm),
                             toSingle(static_cast<double>(centre) - norm),
                             toSingle(static_cast<double>(centre) + max),
                             toSingle(static_cast<double>(centre) - max)};
  for (float position : positions) {
    ws.ReverseArmPos = position;
    ws.StepAngle = 10.0f;
    for (float angle : {0.0f, 37.5f, 90.0f, 180.0f, 212.25f, 270.0f, 359.9f}) {
      ws.DriverAngle = angle;
      SolveLinkage(ws);
      ComputeValveState(ws);
      // What the running program does with the state every frame; the cut-off interpolates
      // between this frame and the last.
      UpdateEvents(ws);
      DetectCutOff(ws);
      for (int i = 0; i < kPivotCount; ++i) {
        finite(ws.Pivots.H[i], "H", i, ws);
        finite(ws.Pivots.V[i], "V", i, ws);
      }
      const PortConstants& p = ws.Ports;
      int k = 0;
      for (float x :
           {p.FrontSteamEdge, p.FrontPortFull, p.FrontExhEdge, p.RearSteamEdge, p.RearPortFull,
            p.RearExhEdge, p.ValveDisplacement, p.RearOpenJoint, p.FrontOpenJoint, p.FrontSteamLap,
            p.RearSteamLap, p.FrontExhLap, p.RearExhLap})
        finite(x, "port constant", k++, ws);
      k = 0;
      for (float x : {ws.ReverseArmAngle, ws.ValveLeverAngle, ws.PistonPos, ws.FrontSteamOpen,
                      ws.FrontExhOpen, ws.RearSteamOpen, ws.RearExhOpen})
        finite(x, "angle, piston or opening", k++, ws);
      if (ws.FrontCutOffText.size() > kCutOffTextMax || ws.RearCutOffText.size() > kCutOffTextMax)
        fail("cut-off text length", 0, angle, position);
    }
  }
}

void checkSameFile(const Workspace& a, const Workspace& b, const char* what) {
  if (EncodeDimensionFile(a) != EncodeDimensionFile(b)) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
  }
}

void checkFileInput(FileDecoder decode, std::span<const std::uint8_t> bytes) {
  Workspace ws;
  StartUp(ws);
  const Workspace before = ws;
  const DimensionFileResult r = decode(bytes, ws);
  if (!r.ok) {
    if (r.message.empty()) {
      std::fprintf(stderr, "refused without a message\n");
      std::abort();
    }
    checkSameFile(ws, before, "a refused file changed the working set");
    return;
  }
  // What the program saves of an accepted set opens to the same set.
  Workspace reopened;
  StartUp(reopened);
  if (!DecodeDimensionFile(EncodeDimensionFile(ws), reopened).ok) {
    std::fprintf(stderr, "an accepted set was refused on opening after a save\n");
    std::abort();
  }
  checkSameFile(ws, reopened, "an accepted set saved and opened to a different set");
  checkGearRuns(ws);
}

}  // namespace vek1::fuzz
