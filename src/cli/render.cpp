#include "render.h"

#include <QGuiApplication>
#include <QString>
#include <cmath>
#include <memory>
#include <optional>
#include <ostream>
#include <random>

#include "cli_common.h"
#include "diagram_sizes.h"
#include "dimensions.h"
#include "exit_codes.h"
#include "frame.h"
#include "numbers.h"
#include "oval_drawing.h"
#include "picture_export.h"
#include "port_diagram_drawing.h"
#include "render_usage.h"
#include "rev_arm_positions.h"
#include "sine_drawing.h"
#include "sound.h"
#include "steam_diagram_drawing.h"

namespace vek1 {

namespace {

using cli::UsageError;

enum class Picture { Main, Sine, Oval, Steam, Port };

struct RenderOptions {
  Picture picture = Picture::Main;
  std::string out;
  double angle = 0.0;
  std::optional<std::vector<double>> positions;
  char graph = 'F';
  cli::SetOptions set;
  bool help = false;  // --help: the usage, and nothing drawn
};

constexpr size_t kMaxPositions = 9;

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
  if (args.size() < 2) throw UsageError{"render needs a picture: main, sine, oval, steam or port"};
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
  } else {
    throw UsageError{"unknown picture '" + kind + "' (use main, sine, oval, steam or port)"};
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
    } else if (option == "--revarm-offset") {
      o.set.revarmOffset = cli::numberArg(option, line.value(option));
    } else if (option == "--revarm") {
      o.set.revarm = cli::numberArg(option, line.value(option));
    } else if (option == "--file") {
      o.set.file = line.value(option);
    } else if (option == "--set") {
      o.set.sets.push_back(cli::setArg(line.value(option)));
    } else {
      throw UsageError{"unknown option '" + option + "' for render " + kind + "; try --help"};
    }
  }
  if (o.out.empty()) throw UsageError{"render needs --out FILE.png, .svg or .pdf"};
  if (!pictureFormatOf(QString::fromStdString(o.out)))
    throw UsageError{"--out must end in .png, .svg or .pdf: '" + o.out + "'"};
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

class SilentSound final : public SoundSink {
 public:
  void playAsync(const QString&) override {}
  void setWaveVolume(quint32) override {}
  void beep() override {}
};

// A fixed seed: the same command line gives the same picture, steam specks included.
constexpr std::mt19937::result_type kRenderSeed = 1;

void drawPicture(Canvas& canvas, Workspace& ws, const RenderOptions& o) {
  canvas.clear(Rgb{255, 255, 255});
  switch (o.picture) {
    case Picture::Main: {
      SilentSound sound;
      std::mt19937 rng(kRenderSeed);
      FrameContext context{sound, rng, false};
      AnimationTick(canvas, ws, context);
      break;
    }
    case Picture::Sine:
      drawSineDiagram(canvas, ws);
      break;
    case Picture::Oval:
      drawOvalDiagram(canvas, ws);
      break;
    case Picture::Steam:
      drawSteamDiagram(canvas, ws);
      break;
    case Picture::Port:
      // Both graphs: the forward one with its cycle legend, the reverse one over it without.
      drawPortDiagram(canvas, ws, o.graph == 'R' ? 'R' : 'F', true);
      if (o.graph == 'B') drawPortDiagram(canvas, ws, 'R', false);
      break;
  }
}

PictureInfo infoOf(const RenderOptions& o, const Workspace& ws) {
  const QString set = QString::fromStdString(ws.DimSetName);
  switch (o.picture) {
    case Picture::Main:
      return {{kFrameWidth, kFrameHeight}, QStringLiteral("vek1 mechanism view: %1").arg(set)};
    case Picture::Sine:
      return {kSineDiagramSize, QStringLiteral("vek1 sine diagram: %1").arg(set)};
    case Picture::Oval:
      return {kOvalDiagramSize, QStringLiteral("vek1 oval diagram: %1").arg(set)};
    case Picture::Steam:
      return {kSteamDiagramSize, QStringLiteral("vek1 steam diagram: %1").arg(set)};
    case Picture::Port:
      return {kPortDiagramSize, QStringLiteral("vek1 port events diagram: %1").arg(set)};
  }
  return {};
}

// Texts need a GUI application for their fonts, though nothing is shown: without a platform of
// the user's choosing it runs on the offscreen one, so no display is needed. Qt's own notes
// (a missing runtime folder and the like) would only clutter a tool whose errors are one line.
class GuiForFonts {
 public:
  GuiForFonts() {
    previous_ = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  ~GuiForFonts() {
    app_.reset();
    qInstallMessageHandler(previous_);
  }
  GuiForFonts(const GuiForFonts&) = delete;
  GuiForFonts& operator=(const GuiForFonts&) = delete;
  bool usable() const { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

 private:
  inline static char name_[] = "vek1-cli";
  inline static char* argv_[] = {name_, nullptr};
  inline static int argc_ = 1;
  std::unique_ptr<QGuiApplication> app_;
  QtMessageHandler previous_ = nullptr;
};

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
    GuiForFonts gui;
    if (!gui.usable()) {
      err << "vek1-cli: render needs a graphical Qt application\n";
      return kExitUsage;
    }
    const ExportResult written = exportPicture(QString::fromStdString(o.out), infoOf(o, ws),
                                               [&](Canvas& canvas) { drawPicture(canvas, ws, o); });
    if (!written.ok) {
      err << "vek1-cli: " << written.message.toStdString() << '\n';
      return kExitWrite;
    }
    return kExitOk;
  });
}

}  // namespace vek1
