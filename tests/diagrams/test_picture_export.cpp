// Every picture of the program out as a file: the mechanism view and the four diagrams, drawn by
// their own drawing functions, written as PNG and as SVG; and the windows' exports, which must
// be what the window shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "recording_sound.h"
#include "../support/picture_compare.h"
#include "../support/svg_shapes.h"
#include "canvas_replay.h"
#include "diagram_frame_drawing.h"
#include "diagram_sizes.h"
#include "diagram_windows.h"
#include "dimensions.h"
#include "frame_tick.h"
#include "screen_data_drawing.h"
#include "main_form.h"
#include "oval_drawing.h"
#include "picture_export.h"
#include "port_diagram_drawing.h"
#include "rev_arm_positions.h"
#include "sine_drawing.h"
#include "sound.h"
#include "steam_diagram_drawing.h"
#include "recording_canvas.h"
#include "painter_canvas.h"

namespace vek1 {
namespace {

struct PictureKind {
  const char* name;
  CanvasSize size;
  std::function<void(Canvas&, Workspace&)> draw;
};

const PictureKind kKinds[] = {
    {"main",
     {kFrameWidth, kFrameHeight},
     [](Canvas& c, Workspace& ws) {
       // Steam on, so the specks (single pixels) are part of the picture too.
       ws.SteamDisplayOn = true;
       ws.ReverseArmPos = ws.RevArmPositions[2];
       ws.DriverAngle = 40.0f;
       RecordingSoundSink sound;
       std::mt19937 rng(5);
       FrameContext context{sound, rng, false};
       for (int tick = 0; tick < 3; ++tick) AnimationTick(c, ws, context);
     }},
    {"sine", kSineDiagramSize, [](Canvas& c, Workspace& ws) { drawSineDiagram(c, ws); }},
    {"oval", kOvalDiagramSize, [](Canvas& c, Workspace& ws) { drawOvalDiagram(c, ws); }},
    {"steam", kSteamDiagramSize, [](Canvas& c, Workspace& ws) { drawSteamDiagram(c, ws); }},
    {"port", kPortDiagramSize,
     [](Canvas& c, Workspace& ws) {
       drawPortDiagram(c, ws, 'F', true);
       drawPortDiagram(c, ws, 'R', false);
     }},
};

// The calls of one drawing of the factory set over its default positions.
RecordingCanvas record(const PictureKind& kind) {
  Workspace ws;
  StartUp(ws);
  RefreshPositions(ws);
  RecordingCanvas recording(kind.size.width, kind.size.height);
  recording.clear({255, 255, 255});
  kind.draw(recording, ws);
  return recording;
}

TEST(PictureExport, EachPictureAsSvgMatchesItsPngAndKeepsEveryLine) {
  QTemporaryDir dir;
  for (const PictureKind& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    const RecordingCanvas recording = record(kind);
    const auto replay = [&](Canvas& canvas) { replayCalls(recording.calls(), canvas); };
    const QString png = dir.filePath(QString(kind.name) + ".png");
    const QString svg = dir.filePath(QString(kind.name) + ".svg");
    ASSERT_TRUE(exportPicture(png, {kind.size, kind.name}, replay).ok);
    ASSERT_TRUE(exportPicture(svg, {kind.size, kind.name}, replay).ok);

    bool valid = false;
    const QImage back = testing::renderSvg(svg, &valid);
    ASSERT_TRUE(valid);
    ASSERT_EQ(back.size(), QSize(kind.size.width, kind.size.height));
    const auto c = testing::compareCoverage(QImage(png), back);
    EXPECT_GT(c.painted, 1000);
    EXPECT_LT(c.missingShare(), 0.03) << c.missing << " of " << c.painted;
    EXPECT_LT(c.extraShare(), 0.10) << c.extra << " of " << c.otherPainted;

    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    // One stroke per line that reaches the picture (a diagram may draw below what its window
    // shows, and that part is not exported); a line of no length paints nothing with a thin pen.
    qsizetype reaching = 0;
    for (const DrawCall& l : recording.lines())
      reaching += !(l.x1 == l.x2 && l.y1 == l.y2) && std::min(l.x1, l.x2) <= kind.size.width &&
                  std::max(l.x1, l.x2) >= 0 && std::min(l.y1, l.y2) <= kind.size.height &&
                  std::max(l.y1, l.y2) >= 0;
    EXPECT_GT(reaching, 30);
    // Lines that go on from one another are one polyline, so the polylines hold every line
    // between two of their points.
    const auto polylines = testing::svgPolylines(text);
    qsizetype kept = 0;
    for (const auto& p : polylines) kept += static_cast<qsizetype>(p.points.size()) - 1;
    EXPECT_EQ(kept, reaching);
    EXPECT_EQ(text.count("<polyline"), static_cast<qsizetype>(polylines.size()));
  }
}

bool haveTool(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

TEST(PictureExport, SineDiagramSvgHoldsEachCurveAsOnePolylineAndRsvgDrawsIt) {
  Workspace ws;
  StartUp(ws);
  RefreshPositions(ws);
  const int positions = diagramPositionCount(ws);
  ASSERT_GE(positions, 3);
  const RecordingCanvas recording = record(kKinds[1]);
  ASSERT_STREQ(kKinds[1].name, "sine");
  QTemporaryDir dir;
  const QString svg = dir.filePath("sine.svg"), png = dir.filePath("sine.png");
  ASSERT_TRUE(exportPicture(svg, {kSineDiagramSize, "sine"}, [&](Canvas& canvas) {
                replayCalls(recording.calls(), canvas);
              }).ok);
  QFile file(svg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const auto polylines = testing::svgPolylines(file.readAll());

  // A curve is a sample every 8 degrees over a little more than a turn: 67 points, one polyline.
  // The grid's ticks and the port-edge lines are short lines of their own.
  int curves = 0;
  for (const auto& p : polylines) curves += p.points.size() >= 60;
  EXPECT_EQ(curves, positions);
  const auto lines = static_cast<int>(recording.lines().size());
  EXPECT_LE(static_cast<int>(polylines.size()), lines - 60 * positions);

  // A renderer other than the one the writer comes with reads it as well, at print resolution.
  if (!haveTool("rsvg-convert")) GTEST_SKIP() << "rsvg-convert (librsvg2-bin) is not installed";
  const std::string command =
      "rsvg-convert -d 300 -p 300 -o '" + png.toStdString() + "' '" + svg.toStdString() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const QImage printed(png);
  ASSERT_FALSE(printed.isNull());
  EXPECT_NEAR(printed.width(), kSineDiagramSize.width * 300.0 / 96.0, 2);
  EXPECT_NEAR(printed.height(), kSineDiagramSize.height * 300.0 / 96.0, 2);
  // Drawn back down to the screen's size, it covers the screen's picture.
  QImage screen(kSineDiagramSize.width, kSineDiagramSize.height, QImage::Format_RGB32);
  screen.fill(Qt::white);
  {
    QPainterCanvas canvas(screen);
    replayCalls(recording.calls(), canvas);
  }
  QImage shrunk(screen.size(), QImage::Format_RGB32);
  shrunk.fill(Qt::white);
  {
    QPainter painter(&shrunk);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), screen.size()), printed);
  }
  for (int y = 0; y < shrunk.height(); ++y)  // faint smoothing is not painting
    for (int x = 0; x < shrunk.width(); ++x)
      if (qGray(shrunk.pixel(x, y)) > 224) shrunk.setPixel(x, y, qRgb(255, 255, 255));
  const auto c = testing::compareCoverage(screen, shrunk);
  EXPECT_LT(c.missingShare(), 0.03) << c.missing << " of " << c.painted;
}

TEST(PictureExport, DiagramWindowExportsWhatItShows) {
  Workspace ws;
  StartUp(ws);
  RefreshPositions(ws);
  RecordingSoundSink sound;
  TMainForm form(ws, sound);
  TPortDia port(ws, &form);
  port.BothGraphs1Click();  // two drawings over each other, as the window shows them
  EXPECT_EQ(port.Export1->text(), "Export...");
  EXPECT_EQ(port.Print1->text(), "Print...");

  QTemporaryDir dir;
  const QString png = dir.filePath("port.png");
  ASSERT_TRUE(port.exportTo(png).ok);
  const QImage shown = port.picture().copy(0, 0, kPortDiagramSize.width, kPortDiagramSize.height);
  EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), shown);
  // The export draws from what was recorded; the diagram's state is not run again.
  const float pistonPos = ws.PistonPos;
  ASSERT_TRUE(port.exportTo(dir.filePath("port.svg")).ok);
  EXPECT_EQ(ws.PistonPos, pistonPos);
  const auto c = testing::compareCoverage(shown, testing::renderSvg(dir.filePath("port.svg")));
  EXPECT_LT(c.missingShare(), 0.03);

  // A fresh drawing replaces the recording rather than adding to it.
  port.ForwardGraph1Click();
  ASSERT_TRUE(port.exportTo(png).ok);
  EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32),
            port.picture().copy(0, 0, kPortDiagramSize.width, kPortDiagramSize.height));
}

TEST(PictureExport, MainWindowExportIsThePartOfTheFrameOnScreen) {
  Workspace ws;
  StartUp(ws);
  ws.SteamDisplayOn = true;
  RecordingSoundSink sound;
  TMainForm form(ws, sound);
  form.Timer1->stop();
  for (int tick = 0; tick < 4; ++tick) form.Timer1Timer();
  const Workspace before = ws;

  QTemporaryDir dir;
  const QString png = dir.filePath("frame.png"), svg = dir.filePath("frame.svg");
  // The window at its first size shows the top-left of the frame; that part is the picture.
  const QSize shown = form.Surface->size();
  ASSERT_LT(shown.width(), kFrameWidth);
  ASSERT_EQ(form.shownFrameSize(), shown);
  ASSERT_TRUE(form.exportPictureTo(png).ok);
  QImage redrawn(kFrameWidth, kFrameHeight, QImage::Format_RGB32);
  redrawn.fill(Qt::white);
  {
    QPainterCanvas canvas(redrawn);
    form.drawShownFrame(canvas);
  }
  EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32),
            redrawn.copy(QRect(QPoint(0, 0), shown)));
  // What the frame on screen shows, but for the bars' captions, which stand beside bars the
  // picture does not have: the screen and the picture differ only in the strip.
  const QImage screen = form.frameImage().convertToFormat(QImage::Format_RGB32);
  for (int y = textY(ws, kStripBottom); y < kFrameHeight; y += 7)
    for (int x = 0; x < kFrameWidth; x += 7)
      ASSERT_EQ(screen.pixel(x, y), redrawn.pixel(x, y)) << x << ", " << y;
  EXPECT_NE(screen, redrawn);

  // The vector copy is drawn again from the state the frame was drawn from: the same picture,
  // and the running gear is not moved on by it.
  ASSERT_TRUE(form.exportPictureTo(svg).ok);
  EXPECT_EQ(ws.DriverAngle, before.DriverAngle);
  EXPECT_EQ(ws.FrontDensity, before.FrontDensity);
  const auto c = testing::compareCoverage(QImage(png), testing::renderSvg(svg));
  EXPECT_LT(c.missingShare(), 0.03) << c.missing << " of " << c.painted;
  EXPECT_EQ(testing::renderSvg(svg).size(), shown);

  // Grown past 1280 x 1024, the frame grows with the window, and the export is all the window
  // shows.
  form.show();
  form.resize(kFrameWidth + 200, kFrameHeight + 300);
  form.layout()->activate();
  QApplication::processEvents();
  const QSize grown = form.Surface->size();
  EXPECT_GT(grown.width(), kFrameWidth);
  EXPECT_GT(grown.height(), kFrameHeight);
  EXPECT_EQ(form.shownFrameSize(), grown);
  ASSERT_TRUE(form.exportPictureTo(png).ok);
  EXPECT_EQ(QImage(png).size(), grown);

  EXPECT_EQ(form.ExportPicture->text(), "&ExportPicture...");
  EXPECT_EQ(form.Print1->text(), "&Print...");
}

}  // namespace
}  // namespace vek1
