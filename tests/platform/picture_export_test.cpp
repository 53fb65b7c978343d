// Pictures out: the vector canvas against the raster one, the three file formats, failed writes,
// printing, and the replay of recorded calls that exports and prints are drawn from.
#include "picture_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../support/picture_compare.h"
#include "../support/svg_shapes.h"
#include "canvas_replay.h"
#include "picture_print.h"
#include "vector_canvas.h"
#include "recording_canvas.h"
#include "painter_canvas.h"

namespace vek1 {
namespace {

using testing::compareCoverage;
using testing::renderSvg;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr CanvasSize kSceneSize{160, 120};

// Every primitive, a wide pen, a line running off the picture, text with a degree sign.
void drawScene(Canvas& canvas) {
  canvas.clear({255, 255, 255});
  canvas.setPenColour(kRed);
  canvas.moveTo(-40, 3);
  canvas.lineTo(100, 80);
  canvas.lineTo(150, 4);
  canvas.setPenWidth(2);
  canvas.lineTo(10, 110);
  canvas.setPenWidth(1);
  canvas.setPenColour(kBlue);
  canvas.ellipse(20, 10, 91, 61);
  canvas.arc(100, 60, 151, 111, 151, 85, 125, 60);
  for (int i = 0; i < 20; ++i) canvas.setPixel(5 + 2 * i, 100, {0, 128, 0});
  canvas.setFontColour(kRed);
  canvas.setFontSize(10);
  canvas.textOut(6, 70, "Cut-off 75 %");
  canvas.setFontStyle({.bold = true});
  canvas.textOut(100, 20, "45\xc2\xb0");
}

int lineCalls(void (*draw)(Canvas&), CanvasSize size) {
  RecordingCanvas recording(size.width, size.height);
  draw(recording);
  return static_cast<int>(recording.lines().size());
}

QImage rasterOf(void (*draw)(Canvas&), CanvasSize size) {
  QImage image(size.width, size.height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainterCanvas canvas(image);
  draw(canvas);
  return image;
}

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(VectorCanvas, SvgRendersBackAsTheRasterPictureWithOneElementPerStroke) {
  QTemporaryDir dir;
  const QString svg = dir.filePath("scene.svg"), png = dir.filePath("scene.png");
  ASSERT_TRUE(exportPicture(svg, {kSceneSize, "scene"}, drawScene).ok);
  ASSERT_TRUE(exportPicture(png, {kSceneSize, "scene"}, drawScene).ok);

  // The PNG is the raster canvas's picture, pixel for pixel.
  EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), rasterOf(drawScene, kSceneSize));

  bool valid = false;
  const QImage back = renderSvg(svg, &valid);
  ASSERT_TRUE(valid);
  EXPECT_EQ(back.size(), QSize(kSceneSize.width, kSceneSize.height));
  const auto c = compareCoverage(QImage(png), back);
  EXPECT_LT(c.missingShare(), 0.03) << c.missing << " of " << c.painted;
  EXPECT_LT(c.extraShare(), 0.10) << c.extra << " of " << c.otherPainted;

  // Lines stay lines, none broken into pixels: the two red lines that continue one another are
  // one polyline, the wide one that goes on from them has a pen of its own.
  const QByteArray text = contents(svg);
  ASSERT_EQ(lineCalls(drawScene, kSceneSize), 3);
  EXPECT_EQ(text.count("<polyline"), 2);
  EXPECT_EQ(text.count("<circle") + text.count("<ellipse"), 1);
  EXPECT_TRUE(text.contains(">Cut-off 75 %<"));
  EXPECT_TRUE(text.contains("45\xc2\xb0"));
  EXPECT_TRUE(text.contains("#ff0000") && text.contains("#0000ff") && text.contains("#008000"));
}

TEST(VectorCanvas, ArcRunsCounterClockwiseFromTheFirstRadial) {
  QTemporaryDir dir;
  const QString svg = dir.filePath("arc.svg");
  // The upper-right quarter of a circle about (40, 40), and of a 2:1 ellipse about (40, 100).
  ASSERT_TRUE(exportPicture(svg, {{81, 130}, "arc"}, [](Canvas& canvas) {
                canvas.arc(0, 0, 81, 81, 80, 40, 40, 0);
                canvas.arc(0, 80, 81, 121, 80, 100, 80, 80);  // east to north-east radial
              }).ok);
  const QImage back = renderSvg(svg);
  int circle = 0, ellipse = 0;
  double lowest = 360, highest = -360;
  for (int y = 0; y < back.height(); ++y)
    for (int x = 0; x < back.width(); ++x) {
      if (!testing::paintedAt(back, x, y)) continue;
      if (y <= 41) {
        ++circle;
        EXPECT_TRUE(x >= 39 && y <= 41) << x << "," << y;
      } else {
        ++ellipse;
        // The radial through (80, 80) is 45 degrees on the ellipse scaled to a circle.
        const double a = std::atan2((100.5 - y) / 20.0, (x + 0.5 - 40.5) / 40.0) * 180 / M_PI;
        lowest = std::min(lowest, a);
        highest = std::max(highest, a);
      }
    }
  EXPECT_GT(circle, 50);
  EXPECT_GT(ellipse, 20);
  EXPECT_NEAR(lowest, 0, 5);
  EXPECT_NEAR(highest, 45, 5);
}

TEST(VectorCanvas, HugeShapesStayFinite) {
  QTemporaryDir dir;
  const QString svg = dir.filePath("huge.svg");
  constexpr int kRadius = 100'000'000;
  ASSERT_TRUE(exportPicture(svg, {{64, 64}, "huge"}, [](Canvas& canvas) {
                canvas.moveTo(INT_MIN, 32);
                canvas.lineTo(INT_MAX, 32);
                canvas.ellipse(16 - kRadius, 16, 17 + kRadius, 17 + 2 * kRadius);
                canvas.ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
              }).ok);
  const QByteArray text = contents(svg);
  EXPECT_FALSE(text.contains("inf") || text.contains("nan"));
  const QImage back = renderSvg(svg);
  int row32 = 0;
  for (int x = 0; x < 64; ++x) row32 += testing::paintedAt(back, x, 32);
  EXPECT_EQ(row32, 64);  // the line crosses the whole picture
}

// The SVG of a drawing painted on a VectorCanvas over an SVG generator; the canvas ends with the
// painter still drawing, as an export ends.
QByteArray svgOf(CanvasSize size, const std::function<void(Canvas&)>& draw) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(size.width, size.height));
  generator.setViewBox(QRect(0, 0, size.width, size.height));
  {
    QPainter painter(&generator);
    VectorCanvas canvas(painter, size);
    draw(canvas);
  }
  return buffer.data();
}

using Points = std::vector<std::pair<int, int>>;

void polyline(Canvas& canvas, const Points& points) {
  canvas.moveTo(points[0].first, points[0].second);
  for (size_t i = 1; i < points.size(); ++i) canvas.lineTo(points[i].first, points[i].second);
}

// Each line on its own, as every line was written before lines were joined: a move elsewhere
// between two lines keeps them apart.
void oneByOne(Canvas& canvas, const Points& points) {
  for (size_t i = 1; i < points.size(); ++i) {
    canvas.moveTo(-1000, -1000);
    canvas.moveTo(points[i - 1].first, points[i - 1].second);
    canvas.lineTo(points[i].first, points[i].second);
  }
}

// Twelve lines of as many slopes, each going on from the last.
const Points kBend = {{10, 40}, {20, 34}, {30, 31}, {40, 30}, {50, 31}, {58, 36}, {64, 44},
                      {68, 52}, {70, 60}, {66, 70}, {56, 76}, {40, 78}, {24, 74}};

TEST(VectorCanvasPolyline, LinesThatGoOnFromOneAnotherAreOnePolyline) {
  const auto draw = [](Canvas& canvas) { polyline(canvas, kBend); };
  const QByteArray svg = svgOf({80, 90}, draw);
  const auto lines = testing::svgPolylines(svg);
  ASSERT_EQ(lines.size(), 1u);
  const auto& p = lines[0].points;
  ASSERT_EQ(p.size(), kBend.size());
  // The ends keep the one-pixel rule: the stroke starts half a pixel (along the major axis)
  // behind the first pixel's centre and stops half a pixel short of the last pixel's. Where two
  // lines meet, the polyline turns at the shared pixel's centre.
  EXPECT_EQ(p.front(), QPointF(10.0, 40.8));
  for (size_t i = 1; i + 1 < p.size(); ++i)
    EXPECT_EQ(p[i], QPointF(kBend[i].first + 0.5, kBend[i].second + 0.5)) << i;
  EXPECT_EQ(p.back(), QPointF(25.0, 74.625));

  // A drawing that moves to the end of the last line before each line, as the diagrams draw
  // their curves, writes the same polyline.
  EXPECT_EQ(svgOf({80, 90},
                  [](Canvas& canvas) {
                    for (size_t i = 1; i < kBend.size(); ++i) {
                      canvas.moveTo(kBend[i - 1].first, kBend[i - 1].second);
                      canvas.lineTo(kBend[i].first, kBend[i].second);
                    }
                  }),
            svg);
}

TEST(VectorCanvasPolyline, APenChangeAMoveOrAnotherShapeEndsIt) {
  const QByteArray svg = svgOf({120, 120}, [](Canvas& canvas) {
    polyline(canvas, {{10, 10}, {30, 10}, {30, 30}});
    canvas.setPenColour({0, 0, 0});  // the pen it has: no change
    canvas.lineTo(50, 30);
    canvas.setPenColour(kRed);
    canvas.lineTo(50, 50);
    canvas.setPenWidth(1);  // no change either
    canvas.lineTo(70, 50);
    canvas.setPenWidth(3);
    canvas.lineTo(70, 70);
    canvas.moveTo(5, 80);  // elsewhere
    canvas.lineTo(20, 80);
    canvas.lineTo(20, 95);   // a right angle: two square ends cover a mitred corner
    canvas.lineTo(30, 100);  // a wide pen turning any other way keeps its square ends
    canvas.setPenWidth(1);
    polyline(canvas, {{40, 80}, {60, 80}});
    canvas.textOut(60, 60, "a");
    canvas.lineTo(80, 80);
    canvas.setPixel(100, 100, kBlue);
    canvas.lineTo(80, 90);
    canvas.ellipse(90, 10, 110, 20);
    canvas.lineTo(90, 90);
    canvas.clear({255, 255, 255});
    canvas.lineTo(100, 90);
    canvas.lineTo(100, 100);  // drawn as the canvas is done with
  });
  std::vector<std::pair<std::string, size_t>> shapes;
  for (const auto& s : testing::svgShapes(svg))
    shapes.emplace_back(s.element.toStdString(), s.points.size());
  const std::vector<std::pair<std::string, size_t>> expected = {
      {"polyline", 4}, {"polyline", 3}, {"polyline", 2}, {"polyline", 3}, {"polyline", 2},
      {"polyline", 2}, {"text", 0},     {"polyline", 2}, {"rect", 0},     {"polyline", 2},
      {"ellipse", 0},  {"polyline", 2}, {"rect", 0},     {"polyline", 3}};
  EXPECT_EQ(shapes, expected);
}

TEST(VectorCanvasPolyline, ALineThatLeavesThePictureIsCutWhereItLeaves) {
  // The picture is 100 wide and the strokes are kept to 3 pixels around it (a pen's width and
  // 2): the lines out to x = 300 and back are cut there, and what comes back is a polyline of
  // its own, not joined across the cut.
  const QByteArray svg = svgOf({100, 100}, [](Canvas& canvas) {
    polyline(canvas, {{10, 50}, {50, 50}, {300, 60}, {300, 80}, {50, 80}, {20, 80}});
    // Straying into the margin is not leaving.
    polyline(canvas, {{90, 10}, {101, 10}, {90, 14}});
  });
  const auto lines = testing::svgPolylines(svg);
  ASSERT_EQ(lines.size(), 3u);
  ASSERT_EQ(lines[0].points.size(), 3u);
  EXPECT_EQ(lines[0].points[1], QPointF(50.5, 50.5));
  EXPECT_DOUBLE_EQ(lines[0].points[2].x(), 103.0);
  ASSERT_EQ(lines[1].points.size(), 3u);
  EXPECT_DOUBLE_EQ(lines[1].points[0].x(), 103.0);
  EXPECT_EQ(lines[1].points[1], QPointF(50.5, 80.5));
  EXPECT_EQ(lines[2].points.size(), 3u);
}

TEST(VectorCanvasPolyline, RendersAsItsLinesDrawnOneByOne) {
  std::vector<Points> shapes = {
      kBend,
      {{60, 10}, {90, 10}, {60, 10}, {60, 40}, {60, 12}},                        // turning back
      {{10, 100}, {44, 100}, {44, 120}, {10, 120}, {10, 100}},                   // a closed box
      {{120, 20}, {150, 50}, {120, 80}, {90, 50}, {120, 20}},                    // a closed diamond
      {{100, 100}, {130, 118}, {160, 100}, {150, 130}, {110, 126}, {104, 104}},  // sharp turns
  };
  Points curve;  // a smooth curve, as the diagrams draw
  for (int j = 0; j <= 40; ++j)
    curve.emplace_back(4 * j, 140 + static_cast<int>(std::lround(25 * std::sin(j * 0.2))));
  shapes.push_back(curve);
  for (const int width : {1, 2, 3, 4}) {
    SCOPED_TRACE(width);
    const auto drawAll = [&](auto&& drawShape) {
      return [&, drawShape](Canvas& canvas) {
        canvas.setPenWidth(width);
        for (const Points& shape : shapes) drawShape(canvas, shape);
      };
    };
    const QByteArray joined = svgOf({170, 170}, drawAll(polyline));
    const QByteArray apart = svgOf({170, 170}, drawAll(oneByOne));
    size_t lines = 0;
    for (const Points& shape : shapes) lines += shape.size() - 1;
    ASSERT_EQ(testing::svgPolylines(apart).size(), lines);
    // A wide pen's lines join only where its square ends would make the same corner.
    if (width == 1) {
      EXPECT_EQ(testing::svgPolylines(joined).size(), shapes.size());
    }

    // The renderer smooths edges; where two lines drawn apart overlap, their smoothed edges are
    // painted twice, up to a quarter of the full tone darker than the same edge painted once.
    // Anything more is a pixel painted or left out.
    const QImage a = testing::renderSvgData(apart), b = testing::renderSvgData(joined);
    ASSERT_EQ(a.size(), b.size());
    int differing = 0, painted = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) {
        if (std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 72 && !differing++)
          first = QPoint(x, y);
        painted += qGray(b.pixel(x, y)) < 128;
      }
    EXPECT_EQ(differing, 0) << "first at " << first.x() << "," << first.y();
    EXPECT_GT(painted, 400);
  }
}

TEST(PictureExport, FailedWritesAreReportedAndTouchNothing) {
  QTemporaryDir dir;
  const PictureInfo info{kSceneSize, "scene"};
  for (const QString& path :
       {dir.filePath("missing/scene.png"), dir.filePath("missing/s.svg"),
        dir.filePath("missing/s.pdf"), dir.path() + "/", dir.filePath("scene.gif")}) {
    const ExportResult r = exportPicture(path, info, drawScene);
    EXPECT_FALSE(r.ok) << path.toStdString();
    EXPECT_TRUE(r.message.contains(path)) << r.message.toStdString();
  }
  // A device named as the target is refused, not replaced by a file (a root user may write in
  // /dev); a directory with a picture's name neither.
  const QString device = QStringLiteral("/dev/null");
  ASSERT_FALSE(exportPicture(device, info, drawScene).ok);  // no picture extension
  QDir(dir.path()).mkdir("folder.svg");
  EXPECT_FALSE(exportPicture(dir.filePath("folder.svg"), info, drawScene).ok);
  EXPECT_TRUE(QFileInfo(dir.filePath("folder.svg")).isDir());
  struct stat st {};
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));

  // A picture with no size writes nothing.
  EXPECT_FALSE(exportPicture(dir.filePath("empty.png"), {{0, 10}, ""}, drawScene).ok);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("empty.png")));

  // An export over an existing file replaces it whole.
  const QString png = dir.filePath("again.png");
  {
    QFile old(png);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
  }
  ASSERT_TRUE(exportPicture(png, info, drawScene).ok);
  EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), rasterOf(drawScene, kSceneSize));
}

TEST(PictureExport, ThroughALinkTheFileItNamesIsWrittenAndTheLinkKept) {
  QTemporaryDir dir;
  const QString target = dir.filePath("drawing.svg"), link = dir.filePath("latest.svg");
  {
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  ASSERT_TRUE(QFile::link(target, link));
  ASSERT_TRUE(exportPicture(link, {kSceneSize, "scene"}, drawScene).ok);
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_TRUE(contents(target).startsWith("<?xml"));
}

TEST(PictureExport, FormatFollowsTheExtensionInAnyCase) {
  EXPECT_EQ(pictureFormatOf("a/B.PNG"), PictureFormat::Png);
  EXPECT_EQ(pictureFormatOf("x.Svg"), PictureFormat::Svg);
  EXPECT_EQ(pictureFormatOf("x.pdf"), PictureFormat::Pdf);
  EXPECT_FALSE(pictureFormatOf("x.pdf.txt"));
  EXPECT_FALSE(pictureFormatOf("svg"));
  EXPECT_EQ(withPictureSuffix("frame", "SVG drawing (*.svg)"), "frame.svg");
  EXPECT_EQ(withPictureSuffix("frame.pdf", "SVG drawing (*.svg)"), "frame.pdf");
  EXPECT_EQ(withPictureSuffix("frame", ""), "frame.png");
}

// Renders the first page of a PDF at 96 dots per inch through pdftoppm.
QImage pdfPage(const QString& pdf, int dpi = 96) {
  const QString prefix = pdf + ".page";
  const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -png -singlefile '" +
                              pdf.toStdString() + "' '" + prefix.toStdString() + "'";
  if (std::system(command.c_str()) != 0) return {};
  return QImage(prefix + ".png");
}

TEST(PictureExport, PdfPageIsThePictureAtItsSize) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("scene.pdf");
  ASSERT_TRUE(exportPicture(pdf, {kSceneSize, "scene"}, drawScene).ok);
  EXPECT_TRUE(contents(pdf).startsWith("%PDF"));
  const QImage page = pdfPage(pdf);
  ASSERT_FALSE(page.isNull()) << "pdftoppm (poppler-utils) is needed";
  EXPECT_NEAR(page.width(), kSceneSize.width, 1);
  EXPECT_NEAR(page.height(), kSceneSize.height, 1);
  const auto c = compareCoverage(rasterOf(drawScene, kSceneSize), page);
  EXPECT_LT(c.missingShare(), 0.05) << c.missing << " of " << c.painted;
  EXPECT_LT(c.extraShare(), 0.15) << c.extra << " of " << c.otherPainted;
}

TEST(PicturePrint, PictureFillsThePageWidthCentred) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("printed.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  // A box round the whole picture shows where the picture landed on the page.
  ASSERT_TRUE(printPicture(printer, {{200, 100}, "box"}, [](Canvas& canvas) {
    canvas.setPenWidth(2);
    canvas.moveTo(1, 1);
    canvas.lineTo(198, 1);
    canvas.lineTo(198, 98);
    canvas.lineTo(1, 98);
    canvas.lineTo(1, 1);
  }));
  const QImage page = pdfPage(pdf, 48);
  ASSERT_FALSE(page.isNull());
  int left = page.width(), right = -1, top = page.height(), bottom = -1;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (qGray(page.pixel(x, y)) < 128) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_GT(right, left);
  const QRectF paintable = printer.pageLayout().paintRect(QPageLayout::Inch);
  EXPECT_NEAR(right - left, paintable.width() * 48, 4);          // as wide as the printable area
  EXPECT_NEAR((right - left) / double(bottom - top), 2.0, 0.1);  // its shape kept
  EXPECT_NEAR((top + bottom) / 2.0, page.height() / 2.0, 6);     // centred down the page
  EXPECT_FALSE(printPicture(printer, {{0, 0}, "none"}, drawScene));
}

TEST(PicturePrint, TheJobsNameMakesOneFileInTheFolderOffered) {
  // The print dialog writes a PDF named after the job into the folder it offers.
  const QString name = printDocumentName("VEK1 Outside Admission Port Open/Closed Nominal");
  EXPECT_EQ(name, "VEK1 Outside Admission Port Open-Closed Nominal");
  EXPECT_EQ(QFileInfo(QDir("/home/user"), name + ".pdf").dir().path(), "/home/user");
  EXPECT_EQ(printDocumentName("a\\b"), "a-b");
  // Windows and FAT shares refuse a colon and the like in a file name.
  EXPECT_EQ(printDocumentName("Valve events: Nominal"), "Valve events - Nominal");
  EXPECT_EQ(printDocumentName("a*b?c<d>e|f\"g:h"), "a-b-c-d-e-f-g-h");
}

TEST(CanvasReplay, ReplayedCallsPaintTheSamePicture) {
  RecordingCanvas recording(kSceneSize.width, kSceneSize.height);
  drawScene(recording);
  QImage replayed(kSceneSize.width, kSceneSize.height, QImage::Format_RGB32);
  replayed.fill(Qt::white);
  {
    QPainterCanvas canvas(replayed);
    replayCalls(recording.calls(), canvas);
  }
  EXPECT_EQ(replayed, rasterOf(drawScene, kSceneSize));

  // A tee hands each call to both canvases.
  RecordingCanvas first(10, 10), second(10, 10);
  TeeCanvas both(first, second);
  drawScene(both);
  EXPECT_EQ(first.calls().size(), recording.calls().size());
  EXPECT_EQ(second.textStrings(), recording.textStrings());
  EXPECT_EQ(both.size(), (CanvasSize{10, 10}));
}

}  // namespace
}  // namespace vek1
