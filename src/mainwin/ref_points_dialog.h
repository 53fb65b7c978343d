#pragma once
// "Reference Points": the two points typed in directly, zeroed, or left alone. Every button
// closes the dialog; the window that opened it then applies `Outcome` to its zero buttons and
// shows or hides the reference controls to match ws.RefPointsMode.

#include <QDialog>
#include <QPushButton>

#include "keyfilteredit.h"
#include "workspace.h"

namespace vek1 {

// What the main window does with its two zero buttons once the dialog has closed.
struct RefPntsOutcome {
  bool enableRef1Zero = false, enableRef2Zero = false;
  bool disableZeros = false;
};

class TRefPnts : public QDialog {
  Q_OBJECT
 public:
  explicit TRefPnts(Workspace& ws, QWidget* parent = nullptr);

  // V1, H1, V2, H2.
  KeyFilterEdit* Edit1 = nullptr;
  KeyFilterEdit* Edit2 = nullptr;
  KeyFilterEdit* Edit3 = nullptr;
  KeyFilterEdit* Edit4 = nullptr;
  QPushButton* OKButton = nullptr;
  QPushButton* ZeroButton = nullptr;
  QPushButton* CancelButton = nullptr;

  // Reset each time the dialog is shown.
  RefPntsOutcome Outcome;

  // Escape and the window's close box count as "Cancel".
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormActivate();
  void OKClick();
  void ZeroClick();
  void CancelClick();

  Workspace& ws_;
};

}  // namespace vek1
