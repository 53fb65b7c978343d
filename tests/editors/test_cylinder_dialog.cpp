// The cylinder dialog: its rows share the frame dialog's behaviour, so only what differs is
// checked here: the cylinder line height moving the valve stem, the buttons of the two-line
// labels, its reset leaving the reverse-arm bar alone, and its tab order.
#include "cylinder_dialog.h"
#include "dialog_test.h"
#include "dimensions.h"
#include "main_view_links.h"

namespace vek1 {
namespace {

using namespace std::string_literals;

class CylinderDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    dialog = std::make_unique<TCylDimen>(ws);
    linkToMainView(*form, *dialog);
    open(*dialog);
  }
  float stemOffset() const { return ws.Cyl[cyl::slot<dim::ValveStemClToCylCl>]; }
  std::unique_ptr<TCylDimen> dialog;
};

TEST_F(CylinderDialog, CylinderLineMovesTheValveStemWithIt) {
  EXPECT_EQ(focused(), dialog->Close1);
  EXPECT_EQ(dialog->edit(1)->text(), "16.000");

  retype(dialog->edit(2), "0.5");
  focusTo(dialog->Close1);
  EXPECT_EQ(ws.Pivots.V[3], 0.5f);
  EXPECT_EQ(ws.Pivots.V[4], static_cast<float>(0.5 + double{stemOffset()}));
  EXPECT_EQ(newestUndo(), std::make_tuple(102, 0.0f, 0.5f, "Cyl CL above Driver ctr"s));
  EXPECT_EQ(ws.DynVarList[1].Id, 102);

  // Passing through the stem offset picks it but stores nothing and records nothing.
  const float stemLine = ws.Pivots.V[4];
  QTest::mouseClick(dialog->edit(9), Qt::LeftButton);
  focusTo(dialog->Close1);
  EXPECT_EQ(ws.Pivots.V[4], stemLine);
  EXPECT_EQ(ws.DynVarList[1].Id, 109);
  EXPECT_EQ(ws.UndoCount, 1);
}

TEST_F(CylinderDialog, TwoLineRowsHaveTheirButtonOnTheFirstLine) {
  EXPECT_EQ(dialog->windowTitle(), "Cylinder Dimensions");
  EXPECT_EQ(dialog->size(), QSize(386, 230));
  EXPECT_EQ(dialog->button(6)->geometry(), QRect(2, 65, 8, 13));
  EXPECT_EQ(dialog->edit(6)->geometry(), QRect(146, 78, 40, 13));
  EXPECT_EQ(dialog->button(22)->geometry(), QRect(196, 117, 8, 13));
  EXPECT_EQ(dialog->edit(22)->geometry(), QRect(342, 130, 40, 13));
  EXPECT_EQ(dialog->Reset1->geometry(), QRect(294, 164, 90, 25));
  EXPECT_EQ(dialog->Close1->geometry(), QRect(294, 192, 90, 25));
  QTest::mouseClick(dialog->button(6), Qt::LeftButton);
  EXPECT_EQ(ws.ShowDimensionId, 106);
}

TEST_F(CylinderDialog, ResetLeavesTheReverseArmRangeAlone) {
  form->motionStrip->SBRevArm->setRange(-2500, 2500);
  retype(dialog->edit(2), "0.5");
  QTest::mousePress(dialog->Reset1, Qt::LeftButton);
  EXPECT_EQ(ws.Pivots.V[3], 0.0f);
  EXPECT_EQ(dialog->edit(2)->text(), "0.000");
  QTest::mouseRelease(dialog->Reset1, Qt::LeftButton, {}, QPoint(-40, -40));
  EXPECT_EQ(ws.UndoCount, 1);

  QTest::mouseClick(dialog->Reset1, Qt::LeftButton);
  EXPECT_EQ(ws.UndoCount, 0);
  EXPECT_EQ(form->motionStrip->SBRevArm->minimum(), -2500);
  EXPECT_EQ(form->motionStrip->SBRevArm->maximum(), 2500);
}

TEST_F(CylinderDialog, TabReachesTheLowerRightFieldsLast) {
  std::vector<QWidget*> expected;
  for (int n = 2; n <= 17; ++n) expected.push_back(dialog->edit(n));
  expected.push_back(dialog->Close1);
  expected.push_back(dialog->Reset1);
  for (int n = 1; n <= 17; ++n) expected.push_back(dialog->button(n));
  for (int n = 18; n <= 22; ++n) expected.push_back(dialog->edit(n));
  for (int n = 18; n <= 22; ++n) expected.push_back(dialog->button(n));
  expected.push_back(dialog->edit(1));
  focusTo(dialog->edit(1));
  for (QWidget* next : expected) {
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focused(), next);
  }
}

}  // namespace
}  // namespace vek1
