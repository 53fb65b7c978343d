// The DXF file read back by a reader of its own (ezdxf, Debian's python3-ezdxf): its layers, the
// kinds of entity on each, the units in the header and the pivot circles on the solver's points;
// and the file written whole or not at all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "dimensions.h"
#include "gear_dxf.h"
#include "write_limit.h"

namespace vek1 {
namespace {

// Runs Debian's Python (the one with ezdxf) on `code` with the DXF's path as sys.argv[1] and
// `doc` read from it; what it prints, "(failed)" at the end when it stopped with an error.
std::string withEzdxf(const std::string& path, const std::string& code) {
  const std::string script = ::testing::TempDir() + "vek1-ezdxf.py";
  std::ofstream(script) << "import sys, ezdxf\ndoc = ezdxf.readfile(sys.argv[1])\n" << code;
  std::string output;
  const std::string command = "/usr/bin/python3 '" + script + "' '" + path + "' 2>&1";
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    if (::pclose(pipe) != 0) output += "(failed)";
  }
  return output;
}

Workspace started() {
  Workspace ws;
  StartUp(ws);
  ws.DriverAngle = 65.0f;
  ws.ReverseArmPos = ws.RevArmPositions[0] + 1.6f;
  return ws;
}

std::string writtenFile(const GearCadDrawing& d, DxfUnits units, const std::string& name) {
  const std::string path = ::testing::TempDir() + name;
  const FileWriteResult written = writeGearDxf(path, d, units);
  EXPECT_TRUE(written.ok) << written.message;
  return path;
}

TEST(GearDxf, EzdxfReadsTheLayersEntitiesAndUnits) {
  const Workspace ws = started();
  const GearCadDrawing d = gearCadDrawingOf(ws, {1.6, 0.0, -1.6});
  const std::string path = writtenFile(d, DxfUnits::Inches, "gear.dxf");
  const std::string out = withEzdxf(path, R"(
print('units', doc.header['$INSUNITS'], doc.dxfversion)
print('layers', sorted(l.dxf.name for l in doc.layers))
kinds = {}
for e in doc.modelspace():
    kinds.setdefault(e.dxf.layer, set()).add(e.dxftype())
for layer in sorted(kinds):
    print(layer, sorted(kinds[layer]))
print('errors', len(doc.audit().errors))
)");
  EXPECT_NE(out.find("units 1 AC1015"), std::string::npos) << out;
  EXPECT_NE(out.find("'cylinder', 'frame', 'link', 'paths', 'ports', 'rods', 'valve'"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("frame ['CIRCLE']"), std::string::npos) << out;
  EXPECT_NE(out.find("rods ['CIRCLE', 'LINE']"), std::string::npos) << out;
  EXPECT_NE(out.find("link ['ARC']"), std::string::npos) << out;
  EXPECT_NE(out.find("paths ['LWPOLYLINE']"), std::string::npos) << out;
  EXPECT_NE(out.find("valve ['LINE', 'LWPOLYLINE']"), std::string::npos) << out;
  EXPECT_NE(out.find("cylinder ['LINE', 'LWPOLYLINE']"), std::string::npos) << out;
  EXPECT_NE(out.find("ports ['LINE', 'LWPOLYLINE']"), std::string::npos) << out;
  EXPECT_NE(out.find("errors 0"), std::string::npos) << out;
}

// Each pivot circle's centre as ezdxf reads it is the solver's pivot within 1e-6, and the arc is
// the link's, so a CAD program measures the gear the solver made.
TEST(GearDxf, CircleCentresAreTheSolversPivots) {
  const Workspace ws = started();
  const GearCadDrawing d = gearCadDrawingOf(ws, {1.6});
  const std::string path = writtenFile(d, DxfUnits::Inches, "pivots.dxf");
  const std::string out = withEzdxf(path, R"(
for e in doc.modelspace().query('CIRCLE'):
    print('C %.17g %.17g %.17g' % (e.dxf.center.x, e.dxf.center.y, e.dxf.radius))
for e in doc.modelspace().query('ARC'):
    print('A %.17g %.17g %.17g %.17g %.17g' % (e.dxf.center.x, e.dxf.center.y, e.dxf.radius,
          e.dxf.start_angle, e.dxf.end_angle))
for e in doc.modelspace().query('LWPOLYLINE[layer=="paths"]'):
    print('P', len(e), e.closed)
)");
  const GearPose pose = solveGear(gearOf(ws), ws.DriverAngle, ws.ReverseArmPos);
  std::istringstream lines(out);
  std::string kind;
  int pivotsFound = 0;
  std::map<int, bool> seen;
  while (lines >> kind) {
    if (kind == "C") {
      double x, y, r;
      lines >> x >> y >> r;
      for (int i = 0; i < kPivotCount; ++i)
        if (std::fabs(x - pose.Pivots.H[i]) <= 1e-6 && std::fabs(y - pose.Pivots.V[i]) <= 1e-6)
          seen[i] = true;
    } else if (kind == "A") {
      double x, y, r, a1, a2;
      lines >> x >> y >> r >> a1 >> a2;
      EXPECT_NEAR(x, pose.Pivots.H[14], 1e-6);
      EXPECT_NEAR(y, pose.Pivots.V[14], 1e-6);
      EXPECT_NEAR(r, ws.Frame[dim::LinkRadius], 1e-6);
      EXPECT_NEAR(a1, d.arcs[0].startDegrees, 1e-9);
      EXPECT_NEAR(a2, d.arcs[0].endDegrees, 1e-9);
    } else if (kind == "P") {
      std::string count, closed;
      lines >> count >> closed;
      EXPECT_EQ(count, "180");
      EXPECT_EQ(closed, "True");
    } else {
      ADD_FAILURE() << out;
      break;
    }
  }
  for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 13, 18}) {
    EXPECT_TRUE(seen[i]) << "no circle on pivot " << i << "\n" << out;
    pivotsFound += seen[i];
  }
  EXPECT_EQ(pivotsFound, 12);
}

TEST(GearDxf, TheHeaderNamesTheUnitAsked) {
  const GearCadDrawing d = gearCadDrawingOf(started(), {});
  EXPECT_NE(gearDxfText(d, DxfUnits::Millimetres).find("$INSUNITS\n 70\n4\n"), std::string::npos);
  EXPECT_NE(gearDxfText(d, DxfUnits::Unitless).find("$INSUNITS\n 70\n0\n"), std::string::npos);
  DxfUnits units = DxfUnits::Unitless;
  EXPECT_TRUE(dxfUnitsOf("mm", units));
  EXPECT_EQ(units, DxfUnits::Millimetres);
  EXPECT_FALSE(dxfUnitsOf("furlongs", units));
  EXPECT_EQ(units, DxfUnits::Millimetres);
  EXPECT_TRUE(isDxfName("a/Gear.DXF"));
  EXPECT_FALSE(isDxfName("gear.dxf.png"));
  EXPECT_FALSE(isDxfName("dxf"));
}

TEST(GearDxf, AFullDiskOrADeviceNeverGivesAFileReportedWritten) {
  const GearCadDrawing d = gearCadDrawingOf(started(), {1.6});
  testing::expectShortWritesFailWhole("gear.dxf", [&](const std::string& path) {
    const FileWriteResult r = writeGearDxf(path, d, DxfUnits::Inches);
    return r.ok ? std::nullopt : std::optional<std::string>(r.message);
  });
  if (std::filesystem::exists("/dev/full")) {
    const FileWriteResult r = writeGearDxf("/dev/full", d, DxfUnits::Inches);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("/dev/full"), std::string::npos) << r.message;
  }
}

}  // namespace
}  // namespace vek1
