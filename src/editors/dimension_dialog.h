#pragma once
// What the frame and cylinder dialogs share: a fixed-size surface with painted labels, a column
// of dimension rows, a Close button and a reset button whose mouse press already resets.
//
// The dialog keeps no state of its own. Activation (each time it is shown, and after a reset)
// repaints the labels and refills every field from the model; every field writes to the model as
// soon as it loses the focus, so the live drawing behind the dialog follows each change.

#include <QDialog>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "canvas.h"
#include "dimension_row.h"
#include "scaled_layout.h"
#include "workspace.h"

namespace vek1 {

// Where a row goes: the dimension it shows and the top-left corners of its edit and button.
struct DimensionRowPlace {
  int id;
  QPoint edit;
  QPoint button;
};

class DimensionDialog : public QDialog {
  Q_OBJECT
 public:
  ~DimensionDialog() override;

  QPushButton* Close1 = nullptr;

  // Edit1.., Button1.. by their number (1-based), as the user sees them top to bottom.
  KeyFilterEdit* edit(int n) const { return rows_.at(static_cast<std::size_t>(n - 1))->edit(); }
  QPushButton* button(int n) const { return rows_.at(static_cast<std::size_t>(n - 1))->button(); }

  // Paints the labels and refills every field from the model.
  void FormActivate();
  // Recomputes the reverse-arm centre from the edited dimensions, centres the reverse-arm bar,
  // clears the cut-off texts and closes.
  void Close1Click();
  // Escape and the window's close box do what Close does.
  void reject() override;

 signals:
  // "Rev Arm to Cent Max" changed, or a reset put it back: the reverse-arm bar's range follows.
  void reverseArmRangeChanged();
  // Close recomputed the mid-gear centre from the edited dimensions: the reverse arm goes to it.
  void midGearCentreChanged();

 protected:
  DimensionDialog(Workspace& ws, const QString& caption, QSize client, QRect close1,
                  QWidget* parent);

  // Rows in the order of their numbers (Edit1 first).
  void addRows(std::span<const DimensionRowPlace> places);
  // Tab order: each widget passes the focus on to the next.
  static void setTabChain(const std::vector<QWidget*>& chain);
  // A reset button that acts on the mouse press as well as on the completed click: `press` runs
  // when the left button goes down on it, `click` when it is clicked (by mouse or keyboard).
  QPushButton* makeResetButton(const QString& caption, QRect place, std::function<void()> press,
                               std::function<void()> click);

  // Draws the labels and instruction lines in the canvas's current font colour.
  virtual void drawTexts(Canvas& canvas) const = 0;

  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  Workspace& ws_;

 private:
  // Owned here rather than by the widget tree, so they are gone before QDialog's destructor hides
  // the window: the focus then leaving a field commits nothing into a model that may be gone.
  std::vector<std::unique_ptr<DimensionRow>> rows_;
  void closingWork();
  QPushButton* resetButton_ = nullptr;
  std::function<void()> resetPress_;
  QSize designClient_;
  ScaledLayout layout_;
};

}  // namespace vek1
