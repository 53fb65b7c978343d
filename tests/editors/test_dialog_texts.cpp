// The labels and instruction lines the two dimension dialogs paint: every text exactly, blanks
// included, at its place in the normal and the large-font mode; painted for real, the dialog
// shows them and no control covers any of them.
#include <QImage>
#include <map>
#include <string>
#include <vector>

#include "cylinder_dialog.h"
#include "dialog_test.h"
#include "dialog_texts.h"
#include "frame_dialog.h"
#include "recording_canvas.h"
#include "painter_canvas.h"

namespace vek1 {
namespace {

// Two words spaced so that the second ends near the field.
std::string spaced(const std::string& first, int blanks, const std::string& second) {
  return first + std::string(static_cast<std::size_t>(blanks), ' ') + second;
}

struct Placed {
  int x, y;
  std::string text;
};

const std::vector<Placed> kFrame{
    {10, 0, spaced("Driver", 20, "Diameter")},
    {10, 13, spaced("Stroke", 22, "Length")},
    {10, 26, spaced("Main Rod", 12, "Crank End")},
    {10, 39, spaced("Main Rod", 11, "Piston End")},
    {10, 52, spaced("Radius Rod", 14, "Length")},
    {10, 65, spaced("Link", 26, "Radius")},
    {10, 78, spaced("Link Pivot", 22, "Vert")},
    {10, 91, spaced("Link Pivot", 21, "Horz")},
    {204, 0, spaced("Valve Lever", 15, "Upper")},
    {204, 13, spaced("Valve Lever", 15, "Lower")},
    {204, 26, spaced("Coupler", 22, "Upper")},
    {204, 39, spaced("Coupler", 22, "Lower")},
    {204, 52, spaced("Anchor Link", 14, "Length")},
    {204, 65, spaced("Anchor Link Pivot", 9, "Vert")},
    {204, 78, spaced("Anchor Link Pivot", 9, "Horz")},
    {204, 91, spaced("Reverse Arm", 12, "Length")},
    {204, 104, "Reverse Arm to Cent Norm"},
    {234, 117, spaced(spaced("\"", 11, "\""), 12, "Max")},
    {1, 151, "To Show Graphic Position of Variable, Click Small Button"},
    {1, 164, "To Select Dynamic Variable, Click Dimension in Gray Area"},
};

const std::vector<Placed> kCylinder{
    {10, 0, "Cylinder ctr to Driver ctr"},
    {10, 13, "Cylinder CL above Driver"},
    {10, 26, spaced("Cylinder Bore", 9, "Diameter")},
    {10, 39, spaced("Cylinder Bore", 12, "Length")},
    {10, 52, spaced("Cylinder Steam Port", 3, "Width")},
    {10, 65, "Piston ctr to Crosshead ctr"},
    {82, 78, "(Piston Rod)"},
    {10, 91, spaced("Piston", 25, "Width")},
    {10, 104, "ValveSurface to CylinderCL"},
    {10, 117, "Valve Stem CL to Cyl CL"},
    {10, 130, spaced("Exhaust Port", 15, "Width")},
    {10, 143, spaced("Bridge Width", 16, "Rear")},
    {10, 156, spaced("Bridge Width", 16, "Front")},
    {204, 0, spaced("Steam Port Width", 8, "Rear")},
    {204, 13, spaced("Steam Port Width", 8, "Front")},
    {204, 26, spaced("Valve Chamber", 8, "Height")},
    {204, 39, spaced("Valve Chamber", 8, "Length")},
    {204, 52, "Valve Height"},
    {204, 65, spaced("Valve Length", 7, "Rear Half")},
    {204, 78, spaced("Valve Length", 7, "Front Half")},
    {204, 91, spaced("Valve ExhCavity", 2, "Rear Half")},
    {204, 104, spaced("Valve ExhCavity", 2, "Front Half")},
    {204, 117, "Valve ctr to Joint"},
    {266, 130, "  (Valve Stem)"},
    {1, 190, "To Show Graphic Position of Variable, Click Small Button"},
    {1, 203, "To Select a Dynamic Variable, Click Dimension in Gray Area"},
};

// Places in the large-font mode (x times 1.27, y times 1.22, rounded), worked out by hand.
const std::map<int, int> kLargeX{{1, 1}, {10, 13}, {82, 104}, {204, 259}, {234, 297}, {266, 338}};
const std::map<int, int> kLargeY{{0, 0},     {13, 16},   {26, 32},   {39, 48},   {52, 63},
                                 {65, 79},   {78, 95},   {91, 111},  {104, 127}, {117, 143},
                                 {130, 159}, {143, 174}, {156, 190}, {151, 184}, {164, 200},
                                 {190, 232}, {203, 248}};

void expectTexts(void (*draw)(Canvas&, const Workspace&), const std::vector<Placed>& expected,
                 bool large) {
  Workspace ws;
  if (large) ws.TextScaleX = 1.27f, ws.TextScaleY = 1.22f;
  RecordingCanvas canvas;
  draw(canvas, ws);
  ASSERT_EQ(canvas.texts().size(), expected.size());
  for (const Placed& e : expected) {
    const DrawCall* call = canvas.findText(e.text);
    ASSERT_NE(call, nullptr) << '"' << e.text << '"';
    EXPECT_EQ(call->x1, large ? kLargeX.at(e.x) : e.x) << e.text;
    EXPECT_EQ(call->y1, large ? kLargeY.at(e.y) : e.y) << e.text;
    EXPECT_EQ(call->fontSize, kDialogTextPoints);
  }
}

TEST(DialogTexts, FrameLabelsAndInstructionsInBothFontModes) {
  expectTexts(drawFrameDialogTexts, kFrame, false);
  expectTexts(drawFrameDialogTexts, kFrame, true);
}

TEST(DialogTexts, CylinderLabelsAndInstructionsInBothFontModes) {
  expectTexts(drawCylinderDialogTexts, kCylinder, false);
  expectTexts(drawCylinderDialogTexts, kCylinder, true);
}

// Painted alone on white, no text pixel may fall where a control of the dialog sits; painted by
// the dialog itself, the label area left of the first field is not blank.
void expectTextsClearOfControls(QDialog& dialog, void (*draw)(Canvas&, const Workspace&)) {
  QImage image(dialog.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    Workspace ws;
    QPainterCanvas canvas(image);
    draw(canvas, ws);
  }
  for (const QWidget* control : dialog.findChildren<QWidget*>()) {
    const QRect r = control->geometry();
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::white)) << x << ',' << y;
  }
  const QImage shown = dialog.grab(QRect(10, 0, 130, 13)).toImage();
  const QColor background = shown.pixelColor(0, 0);
  bool inked = false;
  for (int y = 0; y < shown.height() && !inked; ++y)
    for (int x = 0; x < shown.width() && !inked; ++x) inked = shown.pixelColor(x, y) != background;
  EXPECT_TRUE(inked);
}

class PaintedTexts : public DialogTest {};

TEST_F(PaintedTexts, ShowOnBothDialogsAndNoControlCoversThem) {
  TFrameDi frame(ws);
  TCylDimen cylinder(ws);
  expectTextsClearOfControls(frame, drawFrameDialogTexts);
  expectTextsClearOfControls(cylinder, drawCylinderDialogTexts);
}

}  // namespace
}  // namespace vek1
