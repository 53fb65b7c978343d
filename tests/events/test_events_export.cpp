// The valve events table out: its picture (every text in its cell, the marks the window makes),
// that picture as PNG and SVG, and its CSV read by a standard CSV reader.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../support/picture_compare.h"
#include "dimensions.h"
#include "events_table_drawing.h"
#include "valve_events_window.h"
#include "write_limit.h"
#include "recording_canvas.h"

namespace vek1 {
namespace {

TEST(ValveEventsPicture, EveryTextStandsInsideThePictureAndDifferingCellsAreMarked) {
  Workspace ws;
  StartUp(ws);
  TValveEvents w(ws);
  w.show();
  const EventsTableView& view = w.view();
  ASSERT_GT(view.rows.size(), 5u);
  // A tight tolerance, so that some front and rear cells differ.
  EventsTableView marked = buildEventsTable(w.table(), EventTolerance{0.0, 0.0});
  int differing = 0;
  for (const auto& row : marked.rows)
    for (const auto& cell : row) differing += cell.differs;
  ASSERT_GT(differing, 0);

  const CanvasSize size = eventsTablePictureSize(marked);
  RecordingCanvas canvas(size.width, size.height);
  drawEventsTable(canvas, marked, ws.DimSetName);
  const auto texts = canvas.texts();
  size_t cells = view.header.size();
  for (const auto& row : marked.rows) cells += row.size();
  EXPECT_EQ(texts.size(), cells + 3);  // and the title's three lines
  EXPECT_EQ(texts[0].text, ws.DimSetName);
  // The picture says how its figures are counted, so that it cannot be read another way.
  EXPECT_EQ(texts[1].text, "steam lap F 0.1565 R 0.1565, exhaust lap F 0.0005 R 0.0005");
  EXPECT_EQ(texts[2].text, kEventsConventionText);
  for (const DrawCall& t : texts) {
    // The cell's text, at 7 pixels a character, ends inside the picture.
    const auto chars = std::count_if(t.text.begin(), t.text.end(), [](char ch) {
      return (static_cast<unsigned char>(ch) & 0xc0) != 0x80;
    });
    EXPECT_LE(t.x1 + 7 * static_cast<int>(chars), size.width) << t.text;
    EXPECT_LT(t.y1 + 14, size.height) << t.text;
  }
  EXPECT_TRUE(texts[3].fontStyle.bold);  // the header
  EXPECT_FALSE(texts.back().fontStyle.bold);
  // A marked cell has its ground; without marks there is none.
  EXPECT_FALSE(canvas.lines({255, 240, 120}).empty());
  RecordingCanvas plain(size.width, size.height);
  drawEventsTable(plain, buildEventsTable(w.table(), EventTolerance{1e9, 1e9}), ws.DimSetName);
  EXPECT_TRUE(plain.lines({255, 240, 120}).empty());

  // A table with no rows is a header and a title, and nothing breaks.
  RecordingCanvas empty(10, 10);
  drawEventsTable(empty, EventsTableView{}, "");
  EXPECT_GT(eventsTablePictureSize(EventsTableView{}).width, 0);
}

TEST(ValveEventsPicture, WindowExportsItsTableAsPngAndSvg) {
  Workspace ws;
  StartUp(ws);
  TValveEvents w(ws);
  w.show();
  EXPECT_EQ(w.ExportButton->text(), "Export...");
  EXPECT_EQ(w.PrintButton->text(), "Print...");
  QTemporaryDir dir;
  const QString png = dir.filePath("events.png"), svg = dir.filePath("events.svg");
  ASSERT_TRUE(w.exportTo(png).ok);
  ASSERT_TRUE(w.exportTo(svg).ok);
  const QImage picture(png);
  const CanvasSize size = eventsTablePictureSize(w.view());
  EXPECT_EQ(picture.size(), QSize(size.width, size.height));
  bool valid = false;
  const QImage back = testing::renderSvg(svg, &valid);
  ASSERT_TRUE(valid);
  const auto c = testing::compareCoverage(picture, back);
  EXPECT_GT(c.painted, 1000);
  EXPECT_LT(c.missingShare(), 0.03) << c.missing << " of " << c.painted;
  EXPECT_FALSE(w.exportTo(dir.filePath("none/events.svg")).ok);
}

std::string run(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    if (pclose(pipe) != 0) output += "(failed)";
  }
  return output;
}

TEST(ValveEventsPicture, TextCopiedFromThePdfReadsAsWritten) {
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  Workspace ws;
  StartUp(ws);
  TValveEvents w(ws);
  w.show();
  QTemporaryDir dir;
  const QString pdf = dir.filePath("events.pdf");
  ASSERT_TRUE(w.exportTo(pdf).ok);
  const std::string text = run("pdftotext '" + pdf.toStdString() + "' -");
  ASSERT_EQ(text.find("(failed)"), std::string::npos) << text;
  // "ff" and "fi" as two letters, not as the ligature characters U+FB00..U+FB06 (UTF-8
  // EF AC 80..86) that shaped text is written with.
  EXPECT_NE(text.find("Offset"), std::string::npos) << text.substr(0, 200);
  EXPECT_NE(text.find("Cut-off"), std::string::npos);
  for (int i = 0; i <= 6; ++i) {
    const std::string ligature{'\xef', '\xac', static_cast<char>(0x80 + i)};
    EXPECT_EQ(text.find(ligature), std::string::npos) << "U+FB0" << i;
  }
}

TEST(ValveEventsCsv, AStandardCsvReaderGetsOneRowPerEndOfEachNotch) {
  Workspace ws;
  StartUp(ws);
  TValveEvents w(ws);
  w.show();
  QTemporaryDir dir;
  const std::string path = dir.filePath("events.csv").toStdString();
  ASSERT_TRUE(w.saveCsv(QString::fromStdString(path)));
  const std::string script =
      "import csv,sys\n"
      "rows=list(csv.DictReader(open(sys.argv[1], newline='')))\n"
      "print(len(rows), sorted(set(r['End'] for r in rows)), len(set(len(r) for r in rows)))\n"
      "print(all(float(r['Lead']) == float(r['Lead']) for r in rows))\n"
      "print(rows[0]['Offset'], rows[0]['CutOff.Stroke'] != '')\n";
  const std::string out = run("python3 -c \"" + script + "\" '" + path + "'");
  const size_t notches = w.table().Notches.size();
  EXPECT_EQ(out.substr(0, out.find('\n')), std::to_string(2 * notches) + " ['Front', 'Rear'] 1");
  EXPECT_NE(out.find("\nTrue\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("(failed)"), std::string::npos) << out;
}

}  // namespace
}  // namespace vek1

namespace vek1 {
namespace {

TEST(ValveEventsFiles, AFullDiskLeavesNoCutCsvOrPicture) {
  Workspace ws;
  StartUp(ws);
  TValveEvents w(ws);
  w.show();
  // A cut CSV reads as fewer notches whose missing cells look like events that do not happen.
  testing::expectShortWritesFailWhole("events.csv", [&](const std::string& path) {
    QString message;
    return w.saveCsv(QString::fromStdString(path), &message)
               ? std::nullopt
               : std::optional<std::string>(message.toStdString());
  });
  testing::expectShortWritesFailWhole("events.svg", [&](const std::string& path) {
    const ExportResult r = w.exportTo(QString::fromStdString(path));
    return r.ok ? std::nullopt : std::optional<std::string>(r.message.toStdString());
  });
}

}  // namespace
}  // namespace vek1
