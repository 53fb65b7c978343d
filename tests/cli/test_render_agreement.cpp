// vek1-cli render draws what the windows show: each picture, as PNG, equals the window's own
// drawing of the same set pixel for pixel, and the factory set's pictures equal their goldens in
// docs/export, so that a change to any drawing is seen.
#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "recording_sound.h"
#include "cli_common.h"
#include "cli_run.h"
#include "diagram_windows.h"
#include "dimension_edit.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "main_form.h"
#include "reference_set.h"
#include "rev_arm_positions.h"
#include "sound.h"
#include "painter_canvas.h"

namespace vek1 {
namespace {

namespace fs = std::filesystem;

// Where two pictures differ: nothing when they are the same size and every pixel agrees.
std::optional<std::string> difference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) {
    std::ostringstream why;
    why << a.width() << " x " << a.height() << " against " << b.width() << " x " << b.height();
    return why.str();
  }
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  long differing = 0;
  int firstX = -1, firstY = -1;
  for (int row = 0; row < x.height(); ++row)
    for (int col = 0; col < x.width(); ++col)
      if (x.pixel(col, row) != y.pixel(col, row)) {
        if (differing++ == 0) firstX = col, firstY = row;
      }
  if (differing == 0) return std::nullopt;
  std::ostringstream why;
  why << differing << " pixels differ, the first at (" << firstX << ", " << firstY << ")";
  return why.str();
}

QImage rendered(std::vector<std::string> args, const std::string& name) {
  const std::string out = ::testing::TempDir() + "agreement-" + name + ".png";
  args.push_back("--out");
  args.push_back(out);
  const testing::Result r = testing::run(args);
  EXPECT_EQ(r.code, 0) << r.err;
  return QImage(QString::fromStdString(out));
}

TEST(Goldens, EveryPictureOfTheFactorySetEqualsItsGolden) {
  std::ifstream list(VEK1_GOLDEN_DIR "/goldens.txt");
  ASSERT_TRUE(list) << "no list of goldens in " VEK1_GOLDEN_DIR;
  int compared = 0;
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string name, word;
    words >> name;
    std::vector<std::string> args;
    while (words >> word) args.push_back(word);
    const QImage golden(QString::fromStdString(VEK1_GOLDEN_DIR "/" + name));
    ASSERT_FALSE(golden.isNull()) << "the golden " << name << " is missing; run `make goldens`";
    const auto differs = difference(rendered(args, name), golden);
    EXPECT_EQ(differs, std::nullopt)
        << name << " no longer equals its golden in docs/export: " << differs.value_or("")
        << ". If the drawing is meant to change, run `make goldens`, look at the new pictures "
           "and commit them.";
    ++compared;
  }
  EXPECT_GE(compared, 9);
}

// Stands in for the positions dialog a diagram window asks first: it closes at once, keeping the
// positions the set has.
class AnsweringDialog : public QDialog {
 protected:
  void showEvent(QShowEvent* event) override {
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, &QDialog::accept);
  }
};

// Compares every picture of the set in `file` (empty: the factory set) drawn by the windows and
// by render; with a `reference`, the windows compare with it as the program's Compare With does
// and render is given --compare.
void expectWindowsAndRenderAgree(Workspace& ws, const std::string& file,
                                 const std::string& reference = "") {
  std::vector<std::string> set;
  if (!file.empty()) set = {"--file", file};
  ReferenceSet compared;
  if (!reference.empty()) {
    set.insert(set.end(), {"--compare", reference});
    ASSERT_TRUE(compared.load(QString::fromStdString(reference)).ok);
    compared.setGhostShown(true);
  }
  const auto args = [&](std::vector<std::string> a) {
    a.insert(a.end(), set.begin(), set.end());
    return a;
  };
  // The main window starts from the factory set; the set is put in afterwards, as an open does.
  const Workspace given = ws;
  RecordingSoundSink sound;
  TMainForm form(ws, sound);
  form.ghostSet = [&compared] { return compared.ghost(); };
  ws = given;
  // The positions dialog counts the positions as it closes; the stand-in below does not.
  RefreshPositions(ws);
  AnsweringDialog positions;

  // The main view: one tick drawn at 0 degrees, with the driver stopped so that the frame shows
  // the pose at that angle.
  form.Timer1->stop();
  ws.StepAngle = 0.0f;
  ws.DriverAngle = 0.0f;
  form.Timer1Timer();
  // A render is the window's picture of its frame, as its export draws it: the captions of the
  // window's bars, which a picture does not show, are left out of both.
  QImage exported(kFrameWidth, kFrameHeight, QImage::Format_RGB32);
  {
    QPainterCanvas canvas(exported);
    form.drawShownFrame(canvas);
  }
  EXPECT_EQ(difference(rendered(args({"render", "main", "--whole-frame"}), "main"), exported),
            std::nullopt)
      << "main " << file;
  // On screen the captions stand beside their bars; in the picture they do not.
  EXPECT_NE(difference(exported, form.frameImage().convertToFormat(QImage::Format_RGB32)),
            std::nullopt);

  const auto compare = [&](DiagramWindow& window, std::vector<std::string> a,
                           const std::string& name) {
    // The window's picture may be larger than the diagram (its client area); the diagram is
    // drawn from its top-left corner.
    const QImage drawn = rendered(args(a), name);
    EXPECT_EQ(difference(drawn, window.picture().copy(QRect(QPoint(0, 0), drawn.size()))),
              std::nullopt)
        << name << " " << file;
  };
  {
    TSineDia sine(ws, &positions, &form);
    sine.setReference(&compared);
    sine.show();
    compare(sine, {"render", "sine"}, "sine");
  }
  {
    TOvalDia oval(ws, &positions, &form);
    oval.setReference(&compared);
    oval.show();
    compare(oval, {"render", "oval"}, "oval");
  }
  {
    TSteamDia steam(ws, &positions, &form);
    steam.setReference(&compared);
    steam.show();
    compare(steam, {"render", "steam"}, "steam");
  }
  {
    TPortDia port(ws, &form);
    port.setReference(&compared);
    port.show();
    compare(port, {"render", "port", "--graph", "F"}, "port-F");
    port.ReverseGraph1Click();
    compare(port, {"render", "port", "--graph", "R"}, "port-R");
    port.BothGraphs1Click();
    compare(port, {"render", "port", "--graph", "B"}, "port-B");
  }
}

TEST(RenderAgreement, EveryPictureEqualsTheWindowsDrawingOfTheFactorySet) {
  Workspace ws;
  StartUp(ws);
  expectWindowsAndRenderAgree(ws, "");
}

TEST(RenderAgreement, EveryPictureEqualsTheWindowsDrawingOfAnotherSet) {
  Workspace ws;
  StartUp(ws);
  ws.UndoPending = false;
  // A longer radius rod and a shorter front valve half: another gear, other port edges.
  CommitDimensionValue(ws, 5, 5.2f);
  CommitDimensionValue(ws, 119, 0.35f);
  ComputeReverseArmCentre(ws);
  const std::string file = ::testing::TempDir() + "agreement-other.dve";
  ASSERT_TRUE(WriteDimensionFile(file, ws).ok);
  // The windows are given the set as render reads it: what is compared is the drawing.
  std::ostringstream notes;
  Workspace opened = cli::prepareWorkspace({file, {}, std::nullopt, std::nullopt}, notes);
  expectWindowsAndRenderAgree(opened, file);
}

TEST(RenderAgreement, EveryPictureWithAReferenceEqualsTheWindowsDrawingOfIt) {
  Workspace other;
  StartUp(other);
  other.UndoPending = false;
  CommitDimensionValue(other, 5, 5.1f);
  ComputeReverseArmCentre(other);
  const std::string reference = ::testing::TempDir() + "agreement-reference.dve";
  ASSERT_TRUE(WriteDimensionFile(reference, other).ok);
  Workspace ws;
  StartUp(ws);
  expectWindowsAndRenderAgree(ws, "", reference);
  // The reference is drawn: the picture is not the factory set's golden.
  const QImage golden(QStringLiteral(VEK1_GOLDEN_DIR "/sine.png"));
  EXPECT_NE(difference(rendered({"render", "sine", "--compare", reference}, "sine-compared"),
                       golden),
            std::nullopt);
  // A reference that is no set: nothing is drawn and the code says why.
  const testing::Result bad = testing::run(
      {"render", "sine", "--compare", reference + ".missing", "--out",
       ::testing::TempDir() + "agreement-not-drawn.png"});
  EXPECT_EQ(bad.code, 3);
  EXPECT_FALSE(fs::exists(::testing::TempDir() + "agreement-not-drawn.png"));
}

}  // namespace
}  // namespace vek1
