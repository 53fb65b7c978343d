#include "gear_dxf.h"

#include <dl_dxf.h>
#include <dl_writer_ascii.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace vek1 {

namespace {

// dxflib writes every group through these five calls; this writer keeps them in a string instead
// of its file stream (given no name, the stream never opens, so nothing reaches the disk).
// Reals are written as the shortest decimal that reads back as the same double, in plain
// notation, which every DXF reader takes.
class MemoryDxfWriter final : public DL_WriterA {
 public:
  MemoryDxfWriter() : DL_WriterA("", DL_Codes::AC1015) {}
  void dxfReal(int gc, double value) const override {
    char text[400];
    if (!std::isfinite(value)) value = 0.0;
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    dxfString(gc, std::string(text, end.ec == std::errc() ? end.ptr : text));
  }
  void dxfInt(int gc, int value) const override { dxfString(gc, std::to_string(value)); }
  void dxfHex(int gc, int value) const override {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    dxfString(gc, text);
  }
  void dxfString(int gc, const char* value) const override {
    dxfString(gc, std::string(value ? value : ""));
  }
  void dxfString(int gc, const std::string& value) const override {
    const std::string code = std::to_string(gc);
    text_.append(code.size() < 3 ? 3 - code.size() : 0, ' ');
    text_ += code;
    text_ += '\n';
    text_ += value;
    text_ += '\n';
  }
  const std::string& text() const { return text_; }

 private:
  mutable std::string text_;
};

// AutoCAD colour numbers: each layer in a colour of its own that shows on white and on black.
int layerColour(CadLayer layer) {
  switch (layer) {
    case CadLayer::Frame:
      return 7;
    case CadLayer::Rods:
      return 1;
    case CadLayer::Link:
      return 6;
    case CadLayer::Valve:
      return 5;
    case CadLayer::Cylinder:
      return 8;
    case CadLayer::Ports:
      return 3;
    case CadLayer::Paths:
      return 30;
  }
  return 7;
}

DL_Attributes onLayer(CadLayer layer) {
  return DL_Attributes(std::string(cadLayerName(layer)), 256, -1, "BYLAYER", 1.0);
}

void writeTables(DL_Dxf& dxf, MemoryDxfWriter& dw) {
  dw.sectionTables();
  dxf.writeVPort(dw);
  dw.tableLinetypes(3);
  dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  dw.tableEnd();
  dw.tableLayers(static_cast<int>(kCadLayers.size()) + 1);
  dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", 7, 0, "CONTINUOUS", 1.0));
  for (const CadLayer layer : kCadLayers)
    dxf.writeLayer(dw, DL_LayerData(std::string(cadLayerName(layer)), 0),
                   DL_Attributes("", layerColour(layer), 0, "CONTINUOUS", 1.0));
  dw.tableEnd();
  dw.tableStyle(1);
  dxf.writeStyle(dw, DL_StyleData("standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
  dw.tableEnd();
  dxf.writeView(dw);
  dxf.writeUcs(dw);
  dw.tableAppid(1);
  dxf.writeAppid(dw, "ACAD");
  dw.tableEnd();
  dxf.writeDimStyle(dw, 1, 1, 1, 1, 1);
  dxf.writeBlockRecord(dw);
  dw.tableEnd();
  dw.sectionEnd();
  dw.sectionBlocks();
  for (const char* space : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
    dxf.writeBlock(dw, DL_BlockData(space, 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, space);
  }
  dw.sectionEnd();
}

void writeEntities(DL_Dxf& dxf, MemoryDxfWriter& dw, const GearCadDrawing& d) {
  dw.sectionEntities();
  for (const CadCircle& c : d.circles)
    dxf.writeCircle(dw, DL_CircleData(c.centre.x, c.centre.y, 0.0, c.radius), onLayer(c.layer));
  for (const CadLine& l : d.lines)
    dxf.writeLine(dw, DL_LineData(l.from.x, l.from.y, 0.0, l.to.x, l.to.y, 0.0), onLayer(l.layer));
  for (const CadArc& a : d.arcs)
    dxf.writeArc(dw,
                 DL_ArcData(a.centre.x, a.centre.y, 0.0, a.radius, a.startDegrees, a.endDegrees),
                 onLayer(a.layer));
  for (const CadPolyline& p : d.polylines) {
    dxf.writePolyline(dw,
                      DL_PolylineData(static_cast<int>(p.points.size()), 0, 0, p.closed ? 1 : 0),
                      onLayer(p.layer));
    for (const CadPoint& v : p.points) dxf.writeVertex(dw, DL_VertexData(v.x, v.y, 0.0, 0.0));
    dxf.writePolylineEnd(dw);
  }
  dw.sectionEnd();
}

}  // namespace

bool isDxfName(const std::string& path) {
  if (path.size() < 4) return false;
  std::string suffix = path.substr(path.size() - 4);
  for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return suffix == ".dxf";
}

bool dxfUnitsOf(const std::string& text, DxfUnits& units) {
  if (text == "inches" || text == "in") {
    units = DxfUnits::Inches;
  } else if (text == "mm") {
    units = DxfUnits::Millimetres;
  } else if (text == "unitless") {
    units = DxfUnits::Unitless;
  } else {
    return false;
  }
  return true;
}

std::string gearDxfText(const GearCadDrawing& drawing, DxfUnits units) {
  DL_Dxf dxf;
  MemoryDxfWriter dw;
  dxf.writeHeader(dw);
  dw.dxfString(9, "$INSUNITS");
  dw.dxfInt(70, static_cast<int>(units));
  // Imperial or metric defaults for whatever the reader adds (hatches, line types).
  dw.dxfString(9, "$MEASUREMENT");
  dw.dxfInt(70, units == DxfUnits::Millimetres ? 1 : 0);
  dw.sectionEnd();
  writeTables(dxf, dw);
  writeEntities(dxf, dw, drawing);
  dxf.writeObjects(dw);
  dxf.writeObjectsEnd(dw);
  dw.dxfEOF();
  return dw.text();
}

FileWriteResult writeGearDxf(const std::string& path, const GearCadDrawing& drawing,
                             DxfUnits units) {
  return writeWholeFile(path, gearDxfText(drawing, units));
}

}  // namespace vek1
