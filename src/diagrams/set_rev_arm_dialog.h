#pragma once
// The dialog in which the user sets the up to nine reverse-arm positions the sine, oval and steam
// diagrams draw, and their common vertical scale. It is shown modally over those diagrams.
//
// Every field writes to the model when it loses the focus. Each refresh tidies the list (the first
// empty position ends it), refills the fields and repaints the texts; a key pressed in the last
// shown row opens the next one, so the list grows as the user types.

#include <QDialog>
#include <QPushButton>
#include <array>

#include "canvas.h"
#include "keyfilteredit.h"
#include "rev_arm_positions.h"
#include "scaled_layout.h"
#include "workspace.h"

namespace vek1 {

// The dialog's painted texts: the header with the centre and the four limits, the scale and
// position labels of the rows shown, and the "Max of 9 Positions" note. Black, at the dialog's
// layout positions scaled by the text scale of the large-font mode (the header line keeps its y).
void drawRevArmPositionsTexts(Canvas& canvas, const Workspace& ws, const RevArmRowsShown& rows);

class TSetRevArm : public QDialog {
  Q_OBJECT
 public:
  explicit TSetRevArm(Workspace& ws, QWidget* parent = nullptr);
  ~TSetRevArm() override;

  QPushButton* Close1 = nullptr;

  // Edit1..Edit9 hold positions 1..9, Edit10 the vertical scale.
  KeyFilterEdit* edit(int n) const { return edits_.at(static_cast<std::size_t>(n - 1)); }

  // The rows whose labels are painted and whose fields are shown.
  const RevArmRowsShown& rowsShown() const { return rows_; }

  // Closes, then refreshes once more so the fields show what was stored.
  void Close1Click();

  // Every way of closing ends here; the diagram below is told to redraw.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void FormActivate();
  void RefreshPositionsDialog();
  // Shows row n (its label and field) without touching the model.
  void revealRow(int n);
  void editExit(int n);

  Workspace& ws_;
  std::array<KeyFilterEdit*, 10> edits_{};
  RevArmRowsShown rows_;
  ScaledLayout layout_;
};

}  // namespace vek1
