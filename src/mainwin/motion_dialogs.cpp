#include "motion_dialogs.h"

#include "main_form.h"
#include "motion.h"
#include "numbers.h"
#include "view.h"

namespace vek1 {

namespace {
QString fixedQ(double x, int width, int decimals) {
  return QString::fromStdString(fixedText(x, width, decimals));
}
double typedValue(const KeyFilterEdit* edit) { return parseNumber(edit->text().toStdString()); }
}  // namespace

// Reverse-arm position ------------------------------------------------------------------------

TRevPos::TRevPos(Workspace& ws, TMainForm& main, QWidget* parent)
    : MainFormEntryDialog("Reverse Arm Position", {"Enter", "", "", "", "", ""}, ws, main,
                          parent) {
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
  main_.SBRevArm->setValue(ReverseArmBarPosition(ws_, value));
}

// Driver angle --------------------------------------------------------------------------------

TDrivAng::TDrivAng(Workspace& ws, TMainForm& main, QWidget* parent)
    : MainFormEntryDialog("Driver Angle", {"Enter", "Min = 0.00", "Max = 360.00"}, ws, main,
                          parent) {
  Edit1->setFilter(KeyFilterEdit::numberFilter(false));
}

void TDrivAng::FormActivate() {
  Edit1->setText(main_.running() ? QStringLiteral("0.00") : fixedQ(ws_.DriverAngle, 4, 2));
}

void TDrivAng::OKClick() {
  // A typed angle stops the driver there.
  main_.setRunning(false);
  ws_.DriverAngle = ClampTypedDriverAngle(typedValue(Edit1));
  main_.SBDrvAng->setValue(roundHalfEven(ws_.DriverAngle * 100.0));
  ws_.StepAngle = 0.0f;
  main_.SBDrvAng->setEnabled(true);
}

// Step angle ----------------------------------------------------------------------------------

TStpAng::TStpAng(Workspace& ws, TMainForm& main, QWidget* parent)
    : MainFormEntryDialog("Step Angle", {"Enter", "Min = 0.01", "Max = 45.00"}, ws, main,
                          parent) {
  Edit1->setFilter(KeyFilterEdit::numberFilter(false));
  Edit1->setText("5.0");
}

void TStpAng::FormActivate() { Edit1->setText(fixedQ(ws_.StepAngle, 4, 2)); }

void TStpAng::OKClick() {
  // The typed step is kept as typed: the bar moves to its mark without re-choosing a step.
  main_.SkipStepScroll = true;
  ws_.SelectedStep = ClampTypedStep(typedValue(Edit1));
  // A running driver goes on at the new step, a stopped one stays stopped.
  main_.setRunning(main_.running());
  const int position = StepBarPosition(ws_.SelectedStep);
  main_.SBStepAng->setValue(position);
  // When the bar already stood at that mark no change was reported; consume the skip now so
  // that the user's next move of the bar is not ignored.
  if (main_.SkipStepScroll) main_.SBStepAngChange(position);
  main_.SBDrvAng->setSingleStep(roundHalfEven(100.0 * ws_.SelectedStep));
  main_.SBDrvAng->setPageStep(roundHalfEven(500.0 * ws_.SelectedStep));
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

void TGraphZoom::FormActivate() { Edit1->setText(fixedQ(ws_.GraphicZoomFactor, 4, 2)); }

void TGraphZoom::OKClick() { ws_.GraphicZoomFactor = ClampGraphicZoom(typedValue(Edit1)); }

}  // namespace vek1
