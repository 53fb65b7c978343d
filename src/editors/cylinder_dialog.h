#pragma once
// "Cylinder Dimensions": the twenty-two cylinder, port and valve dimensions (ids 101 to 122), all
// grey dynamic-variable rows.

#include "dimension_dialog.h"

namespace vek1 {

class TCylDimen : public DimensionDialog {
  Q_OBJECT
 public:
  explicit TCylDimen(Workspace& ws, QWidget* parent = nullptr);

  QPushButton* Reset1 = nullptr;

  // The factory cylinder dimensions, the dynamic variables re-read, the fields refilled; the
  // reverse-arm bar is left alone. The click also clears the undo history, the press alone keeps
  // it. The full reset of all dimensions runs the click.
  void ResetCylClick();
  void Reset1MouseDown();

 protected:
  void drawTexts(Canvas& canvas) const override;

 private:
  void reset(bool clearUndo);
};

}  // namespace vek1
