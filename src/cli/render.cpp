#include "render.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <ostream>
#include <random>

#include "cli_common.h"
#include "diagram_sizes.h"
#include "dimensions.h"
#include "events_compare.h"
#include "events_compare_table.h"
#include "events_table.h"
#include "events_table_drawing.h"
#include "exit_codes.h"
#include "frame_tick.h"
#include "gear_dxf.h"
#include "gui_for_fonts.h"
#include "numbers.h"
#include "oval_drawing.h"
#include "page_canvas.h"
#include "perf_page.h"
#include "picture_export.h"
#include "port_diagram_drawing.h"
#include "render_usage.h"
#include "rev_arm_positions.h"
#include "sine_drawing.h"
#include "sound.h"
#include "steam_diagram_drawing.h"
#include "valve_events.h"
#include "ink_extent.h"
#include "painter_canvas.h"

namespace vek1 {

namespace {

using cli::UsageError;

enum class Picture { Main, Sine, Oval, Steam, Port, Events, Perf };

// What a table picture is drawn from, computed once before the drawing.
// What a picture is drawn from besides the set: the tables made for it, and the set compared
// with (null: none).
struct Tables {
  EventsTableView events;
  PerformancePage perf;
  const Workspace* reference = nullptr;
};

struct RenderOptions {
  Picture picture = Picture::Main;
  std::string out;
  double angle = 0.0;
  std::optional<std::vector<double>> positions;
  char graph = 'F';
  cli::SetOptions set;
  bool wholeFrame = false;  // main: the whole 1280 x 1024 frame, not the drawing's extent
  double scale = 1.0;       // PNG: device pixels per drawing pixel
  bool transparent = false;
  bool caption = false;  // main: a line naming the set, the notch and the crank angle
  std::optional<std::vector<double>> notches;  // events, main's DXF: offsets from the centre
  bool dxf = false;                            // main: the gear as a CAD drawing
  DxfUnits units = DxfUnits::Inches;           // the DXF's header
  bool help = false;                           // --help: the usage, and nothing drawn
  std::string compare;  // a set to draw beneath (diagrams), as a ghost (main) or beside (events)
};

// The margin around the main view's drawing, in pixels, when the page is cut to it.
constexpr int kExtentMargin = 16;

constexpr size_t kMaxPositions = 9;
// As many notches as a picture of the table can sensibly hold.
constexpr size_t kMaxNotches = 100;

std::vector<double> positionsArg(const std::string& text) {
  return cli::numberList("--positions", text, kMaxPositions);
}

RenderOptions parseRender(const std::vector<std::string>& args) {
  RenderOptions o;
  const auto isHelp = [](const std::string& a) { return a == "--help" || a == "-h"; };
  if (args.size() >= 2 && isHelp(args[1])) {
    o.help = true;
    return o;
  }
  if (args.size() < 2)
    throw UsageError{"render needs a picture: main, sine, oval, steam, port, events or perf"};
  const std::string& kind = args[1];
  if (kind == "main") {
    o.picture = Picture::Main;
  } else if (kind == "sine") {
    o.picture = Picture::Sine;
  } else if (kind == "oval") {
    o.picture = Picture::Oval;
  } else if (kind == "steam") {
    o.picture = Picture::Steam;
  } else if (kind == "port") {
    o.picture = Picture::Port;
  } else if (kind == "events") {
    o.picture = Picture::Events;
  } else if (kind == "perf") {
    o.picture = Picture::Perf;
  } else {
    throw UsageError{"unknown picture '" + kind +
                     "' (use main, sine, oval, steam, port, events or perf)"};
  }
  const bool diagramWithPositions =
      o.picture == Picture::Sine || o.picture == Picture::Oval || o.picture == Picture::Steam;
  cli::ArgReader line(args, 2);
  while (line.more()) {
    const std::string option = line.option();
    if (isHelp(option)) {
      o.help = true;
      return o;
    } else if (option == "--out") {
      o.out = line.value(option);
    } else if (option == "--angle" && o.picture == Picture::Main) {
      o.angle = cli::numberArg(option, line.value(option));
    } else if (option == "--positions" && diagramWithPositions) {
      o.positions = positionsArg(line.value(option));
    } else if (option == "--graph" && o.picture == Picture::Port) {
      const std::string& g = line.value(option);
      if (g != "F" && g != "R" && g != "B") throw UsageError{"--graph takes F, R or B"};
      o.graph = g[0];
    } else if (option == "--whole-frame" && o.picture == Picture::Main) {
      o.wholeFrame = true;
    } else if (option == "--notches" &&
               (o.picture == Picture::Events || o.picture == Picture::Main ||
                o.picture == Picture::Perf)) {
      o.notches = cli::notchesArg(option, line.value(option), kMaxNotches);
    } else if (option == "--units" && o.picture == Picture::Main) {
      if (!dxfUnitsOf(line.value(option), o.units))
        throw UsageError{"--units takes inches, mm or unitless"};
    } else if (option == "--scale") {
      o.scale = cli::numberArg(option, line.value(option));
      if (!(o.scale >= kMinPngScale && o.scale <= kMaxPngScale))
        throw UsageError{"--scale takes a number from 1 to 8"};
    } else if (option == "--caption" && o.picture == Picture::Main) {
      o.caption = true;
    } else if (option == "--transparent") {
      o.transparent = true;
    } else if (option == "--revarm-offset") {
      o.set.revarmOffset = cli::numberArg(option, line.value(option));
    } else if (option == "--revarm") {
      o.set.revarm = cli::numberArg(option, line.value(option));
    } else if (option == "--file") {
      o.set.file = line.value(option);
    } else if (option == "--compare") {
      o.compare = line.value(option);
      if (o.compare.empty()) throw UsageError{"--compare needs the path of a saved set"};
    } else if (option == "--set") {
      o.set.sets.push_back(cli::setArg(line.value(option)));
    } else {
      throw UsageError{"unknown option '" + option + "' for render " + kind + "; try --help"};
    }
  }
  if (o.out.empty()) throw UsageError{"render needs --out FILE.png, .svg or .pdf"};
  o.dxf = o.picture == Picture::Main && isDxfName(o.out);
  if (!o.dxf && !pictureFormatOf(o.out))
    throw UsageError{"--out must end in .png, .svg or .pdf" +
                     std::string(o.picture == Picture::Main ? " (or .dxf)" : "") + ": '" + o.out +
                     "'"};
  if (o.picture == Picture::Main && !o.dxf && (o.notches || o.units != DxfUnits::Inches))
    throw UsageError{"--notches and --units are for a .dxf file"};
  if (o.dxf && (o.caption || o.wholeFrame || o.scale != 1.0 || o.transparent))
    throw UsageError{
        "--caption, --whole-frame, --scale and --transparent are for pictures, "
        "not a .dxf file"};
  if (o.set.revarm && o.set.revarmOffset)
    throw UsageError{"give --revarm or --revarm-offset, not both"};
  return o;
}

// The diagram positions as offsets from the centre, kept while the centre is recomputed for
// the --set changes: the saved set's when one is given, else the defaults.
void placePositions(Workspace& ws, const Workspace& saved, const RenderOptions& o) {
  std::vector<double> offsets;
  if (o.positions) {
    offsets = *o.positions;
  } else if (!o.set.file.empty()) {
    for (size_t k = 1; k <= kMaxPositions && saved.RevArmPositions[k] != 0.0f; ++k)
      offsets.push_back(static_cast<double>(saved.RevArmPositions[k]) - saved.RevArmPositions[0]);
    ws.VerticalScale = saved.VerticalScale;
  } else {
    return;  // the defaults, set with the centre
  }
  const double centre = ws.RevArmPositions[0];
  for (size_t k = 1; k <= kMaxPositions; ++k) {
    const size_t at = static_cast<size_t>(k - 1);
    ws.RevArmPositions[k] =
        at < offsets.size() ? ClampToRevArmRange(ws, toSingle(centre + offsets[at])) : 0.0f;
  }
  // Position 1 always holds a position, as in the positions dialog.
  if (ws.RevArmPositions[1] == 0.0f) ws.RevArmPositions[1] = toSingle(centre);
}

// A fixed seed: the same command line gives the same picture, steam specks included.
constexpr std::mt19937::result_type kRenderSeed = 1;

void drawPicture(Canvas& canvas, Workspace& ws, const RenderOptions& o, const Tables& tables) {
  const Workspace* reference = tables.reference;
  canvas.clear(Rgb{255, 255, 255});
  switch (o.picture) {
    case Picture::Main: {
      SilentSoundSink sound;
      std::mt19937 rng(kRenderSeed);
      FrameContext context{sound, rng, false, true};
      if (o.caption) context.caption = frameCaption(ws);
      context.ghost = reference;
      AnimationTick(canvas, ws, context);
      break;
    }
    case Picture::Sine:
      drawSineDiagram(canvas, ws, reference);
      break;
    case Picture::Oval:
      drawOvalDiagram(canvas, ws, reference);
      break;
    case Picture::Steam:
      drawSteamDiagram(canvas, ws, reference);
      break;
    case Picture::Port:
      // Both graphs: the forward one with its cycle legend, the reverse one over it without.
      drawPortDiagram(canvas, ws, o.graph == 'R' ? 'R' : 'F', true, reference);
      if (o.graph == 'B') drawPortDiagram(canvas, ws, 'R', false, reference);
      break;
    case Picture::Events:
      drawEventsTable(canvas, tables.events,
                      reference ? ws.DimSetName + " compared with " + reference->DimSetName
                                : ws.DimSetName);
      break;
    case Picture::Perf:
      drawPerformancePage(canvas, tables.perf);
      break;
  }
}

CanvasSize fullSize(const RenderOptions& o, const Tables& tables) {
  switch (o.picture) {
    case Picture::Main:
      return {kFrameWidth, kFrameHeight};
    case Picture::Sine:
      return kSineDiagramSize;
    case Picture::Oval:
      return kOvalDiagramSize;
    case Picture::Steam:
      return kSteamDiagramSize;
    case Picture::Port:
      return kPortDiagramSize;
    case Picture::Events:
      return eventsTablePictureSize(tables.events);
    case Picture::Perf:
      return performancePageSize(tables.perf);
  }
  return {};
}

QString titleOf(const RenderOptions& o, const Workspace& ws) {
  const QString set = QString::fromStdString(ws.DimSetName);
  switch (o.picture) {
    case Picture::Main:
      return QStringLiteral("vek1 mechanism view: %1").arg(set);
    case Picture::Sine:
      return QStringLiteral("vek1 sine diagram: %1").arg(set);
    case Picture::Oval:
      return QStringLiteral("vek1 oval diagram: %1").arg(set);
    case Picture::Steam:
      return QStringLiteral("vek1 steam diagram: %1").arg(set);
    case Picture::Port:
      return QStringLiteral("vek1 port events diagram: %1").arg(set);
    case Picture::Events:
      return QStringLiteral("vek1 valve events: %1").arg(set);
    case Picture::Perf:
      return QStringLiteral("vek1 engine performance: %1").arg(set);
  }
  return {};
}

// The part of the main frame that the drawing covers, with a margin, held to the frame: the gear
// of the factory set fills a sixth of the whole frame, which a build log or a page would carry
// as a wide white border. Found from the pixels the frame lights, so texts count as drawn too.
PagePart drawnPart(const Workspace& ws, const RenderOptions& o, const Tables& tables) {
  if (o.picture != Picture::Main || o.wholeFrame) return {0, 0, fullSize(o, tables)};
  QImage image(kFrameWidth, kFrameHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    Workspace scratch = ws;
    QPainterCanvas canvas(image);
    drawPicture(canvas, scratch, o, tables);
  }
  return partAround(inkBounds(image), {kFrameWidth, kFrameHeight}, kExtentMargin);
}

// The main view's gear as a CAD drawing, with the die path at the pose's notch or at each of
// --notches. Needs no fonts, so no GUI application either.
int renderDxf(const Workspace& ws, const RenderOptions& o, std::ostream& err) {
  if (o.notches) cli::requireReachable(ws, *o.notches);
  const GearCadDrawing drawing =
      o.notches
          ? gearCadDrawingOf(ws, *o.notches)
          : gearCadDrawing(gearOf(ws), {ws.DriverAngle, ws.ReverseArmPos, {ws.ReverseArmPos}});
  const FileWriteResult written = writeGearDxf(o.out, drawing, o.units);
  if (!written.ok) {
    err << "vek1-cli: " << written.message << '\n';
    return kExitWrite;
  }
  return kExitOk;
}

}  // namespace

int runRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return cli::runReportingErrors(err, [&]() -> int {
    const RenderOptions o = parseRender(args);
    if (o.help) {
      out << kRenderUsage;
      return kExitOk;
    }
    Workspace saved;
    Workspace ws = cli::prepareWorkspace(o.set, err, &saved);
    placePositions(ws, saved, o);
    RefreshPositions(ws);
    ws.StepAngle = 0.0f;  // the picture shows the pose at the angle given, not one step on
    // Turned into one revolution in double first: a large angle would lose its fraction of a
    // turn in the single the model keeps.
    double angle = std::fmod(o.angle, 360.0);
    if (angle < 0) angle += 360.0;
    ws.DriverAngle = toSingle(angle);
    if (o.dxf) return renderDxf(ws, o, err);
    cli::GuiForFonts gui;
    if (!gui.usable()) {
      err << "vek1-cli: render needs a graphical Qt application\n";
      return kExitUsage;
    }
    std::optional<Workspace> reference;
    if (!o.compare.empty()) reference = cli::loadReference(o.compare);
    Tables tables;
    tables.reference = reference ? &*reference : nullptr;
    if (o.picture == Picture::Events && reference) {
      tables.events = buildComparedEventsTable(
          compareValveEvents(ws, *reference, o.notches ? &*o.notches : nullptr), EventTolerance{});
    } else if (o.picture == Picture::Events) {
      const ValveEventsTable table =
          o.notches ? ComputeValveEvents(ws, *o.notches) : ComputeValveEvents(ws);
      tables.events = buildEventsTable(table, EventTolerance{});
    }
    if (o.picture == Picture::Perf) {
      PerformanceInput in{ws, o.notches ? *o.notches : performanceNotches(ws), {}};
      cli::requireReachable(ws, in.notches);
      in.cardNotches = defaultCardNotches(in.notches);
      tables.perf = computePerformancePage(in);
    }
    const PagePart part = drawnPart(ws, o, tables);
    PictureInfo info{part.size, titleOf(o, ws)};
    info.pngScale = o.scale;
    info.transparent = o.transparent;
    const ExportResult written = exportPicture(o.out, info, [&](Canvas& canvas) {
      PageCanvas page(canvas, part, !o.transparent);
      drawPicture(page, ws, o, tables);
    });
    if (!written.ok) {
      err << "vek1-cli: " << written.message.toStdString() << '\n';
      return kExitWrite;
    }
    return kExitOk;
  });
}

}  // namespace vek1
