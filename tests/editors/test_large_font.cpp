// In the large font the frame and cylinder dialogs grow with their texts: every painted label and
// instruction line stays inside the dialog and beside, not under, the fields and buttons, which
// move with the texts. At the normal font nothing moves.
#include "cylinder_dialog.h"
#include "dialog_test.h"
#include "dialog_texts.h"
#include "frame_dialog.h"
#include "placed_texts.h"
#include "recording_canvas.h"

namespace vek1 {
namespace {

class LargeFont : public DialogTest {
 protected:
  template <class Dialog>
  void expectTextsFit(Dialog& dialog, void (*drawTexts)(Canvas&, const Workspace&)) {
    open(dialog);
    RecordingCanvas canvas(dialog.width(), dialog.height());
    drawTexts(canvas, ws);
    const auto texts = testing::placedTexts(canvas);
    ASSERT_GT(texts.size(), 10u);
    const auto controls = testing::visibleControls(&dialog);
    for (const auto& t : texts) {
      EXPECT_TRUE(dialog.rect().contains(t.box))
          << "'" << t.text << "' at " << t.box.x() << "," << t.box.y() << " in a " << dialog.width()
          << " x " << dialog.height() << " dialog";
      for (QWidget* control : controls)
        EXPECT_FALSE(control->geometry().intersects(t.box))
            << "'" << t.text << "' runs under the control at " << control->x() << ","
            << control->y();
    }
    dialog.close();
  }
};

TEST_F(LargeFont, FrameDialogTextsStayInsideAndBesideTheirFields) {
  TFrameDi dialog(ws);
  open(dialog);
  const QSize normal = dialog.size();
  const std::vector<QWidget*> controls = testing::visibleControls(&dialog);
  std::vector<QRect> places;
  for (QWidget* c : controls) places.push_back(c->geometry());
  dialog.close();
  {
    SCOPED_TRACE("normal font");
    expectTextsFit(dialog, &drawFrameDialogTexts);
  }
  form->LargeFont->trigger();
  {
    SCOPED_TRACE("large font");
    expectTextsFit(dialog, &drawFrameDialogTexts);
  }
  open(dialog);
  EXPECT_GT(dialog.height(), normal.height());
  dialog.close();
  form->LargeFont->trigger();
  open(dialog);
  EXPECT_EQ(dialog.size(), normal);
  for (std::size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(controls[i]->geometry(), places[i]);
  dialog.close();
}

TEST_F(LargeFont, CylinderDialogTextsStayInsideAndBesideTheirFields) {
  TCylDimen dialog(ws);
  {
    SCOPED_TRACE("normal font");
    expectTextsFit(dialog, &drawCylinderDialogTexts);
  }
  form->LargeFont->trigger();
  {
    SCOPED_TRACE("large font");
    expectTextsFit(dialog, &drawCylinderDialogTexts);
  }
}

}  // namespace
}  // namespace vek1
