#include "motion_dialogs.h"

#include "motion.h"
#include "motion_strip.h"
#include "numbers.h"
#include "view.h"

namespace vek1 {

namespace {
QString fixedQ(double x, int width, int decimals) {
  return QString::fromStdString(fixedText(x, width, decimals));
}
double typedValue(const KeyFilterEdit* edit) {
  return parseNumber(edit->text().toStdString());
}
}  // namespace

// Reverse-arm position ------------------------------------------------------------------------

TRevPos::TRevPos(Workspace& ws, MotionStrip& motion, QWidget* parent)
    : MotionEntryDialog("Reverse Arm Position", {"Enter", "", "", "", "", ""}, ws, motion, parent) {
  Edit1->setFilter(KeyFilterEdit::numberFilter(true));
}

void TRevPos::FormActivate() {
  const double centre = ReverseArmCentre(ws_);
  const double norm = ws_.Frame[dim::RevArmToCentNorm];
  const double max = ws_.Frame[dim::RevArmToCentMax];
  label(5)->setText("Rev = " + fixedQ(centre - norm, 5, 3));
  label(3)->setText("Cen = " + fixedQ(centre, 5, 3));
  label(6)->setText("Fwd = " + fixedQ(centre + norm, 5, 3));
  label(2)->setText("Min = " + fixedQ(centre - max, 5, 3));
  label(4)->setText("Max = " + fixedQ(centre + max, 5, 3));
  Edit1->setText(fixedQ(ws_.ReverseArmPos, 7, 3));
}

void TRevPos::OKClick() {
  const float value = ClampTypedReverseArm(ws_, typedValue(Edit1));
  // The bar's change handler places the arm and picks the direction.
  motion_.SBRevArm->setValue(ReverseArmBarPosition(ws_, value));
}

// Driver angle --------------------------------------------------------------------------------

TDrivAng::TDrivAng(Workspace& ws, MotionStrip& motion, QWidget* parent)
    : MotionEntryDialog("Driver Angle", {"Enter", "Min = 0.00", "Max = 360.00"}, ws, motion,
                        parent) {
  Edit1->setFilter(KeyFilterEdit::numberFilter(false));
}

void TDrivAng::FormActivate() {
  Edit1->setText(motion_.running() ? QStringLiteral("0.00") : fixedQ(ws_.DriverAngle, 4, 2));
}

void TDrivAng::OKClick() {
  // A typed angle stops the driver there.
  motion_.stopAtAngle(ClampTypedDriverAngle(typedValue(Edit1)));
}

// Step angle ----------------------------------------------------------------------------------

TStpAng::TStpAng(Workspace& ws, MotionStrip& motion, QWidget* parent)
    : MotionEntryDialog("Step Angle", {"Enter", "Min = 0.01", "Max = 45.00"}, ws, motion, parent) {
  Edit1->setFilter(KeyFilterEdit::numberFilter(false));
  Edit1->setText("5.0");
}

void TStpAng::FormActivate() {
  Edit1->setText(fixedQ(ws_.StepAngle, 4, 2));
}

void TStpAng::OKClick() {
  motion_.takeTypedStep(ClampTypedStep(typedValue(Edit1)));
}

// Graphic zoom --------------------------------------------------------------------------------

TGraphZoom::TGraphZoom(Workspace& ws, QWidget* parent)
    : EntryDialog("Set Zoom of Dimensional Graphic Position",
                  {"Min = 0.5", "Max = 2000.0",
                   "Approximate Factor = Locomotive Gauge in Units Used", "Enter"},
                  parent),
      ws_(ws) {
  Edit1->setFilter(KeyFilterEdit::numberFilter(false));
}

void TGraphZoom::FormActivate() {
  Edit1->setText(fixedQ(ws_.GraphicZoomFactor, 4, 2));
}

void TGraphZoom::OKClick() {
  ws_.GraphicZoomFactor = ClampGraphicZoom(typedValue(Edit1));
}

}  // namespace vek1
