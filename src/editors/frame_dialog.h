#pragma once
// "Frame Dimensions": the eighteen dimensions of the gear's frame and linkage. Sixteen grey rows
// (the dynamic-variable dimensions) and the two white reverse-arm limits, Norm and Max.

#include "dimension_dialog.h"

namespace vek1 {

class TFrameDi : public DimensionDialog {
  Q_OBJECT
 public:
  explicit TFrameDi(Workspace& ws, QWidget* parent = nullptr);

  QPushButton* ResetFrame = nullptr;

  // The factory frame dimensions, the reverse-arm bar's range from them, the dynamic variables
  // re-read, the fields refilled. The click also clears the undo history; the press alone (the
  // button held, perhaps released elsewhere) keeps it. The full reset of all dimensions runs the
  // click.
  void ResetFrameClick();
  void ResetFrameMouseDown();

 protected:
  void drawTexts(Canvas& canvas) const override;

 private:
  void reset(bool clearUndo);
};

}  // namespace vek1
