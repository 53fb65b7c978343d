#pragma once
// "Draw Lines": the modal dialog that defines, edits, clears and lists the 20 overlay items.
// Its three choices live in the Workspace, because the main view's mouse handler and prompt act
// on them while the dialog is closed for a pivot to be picked.

#include <QDialog>
#include <array>

#include "keyfilteredit.h"
#include "sound.h"
#include "workspace.h"

class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vek1 {

class TDrawLines : public QDialog {
  Q_OBJECT

 public:
  explicit TDrawLines(Workspace& ws, SoundSink& sound, QWidget* parent = nullptr);

  // Handlers, public so the main window and tests can run them as the controls do.
  void FormActivate();
  void RadioGroup1Click();
  void RadioGroup2Click();
  void RadioGroup3Click();
  void DrawButClick();
  void ClearLineClick();
  void CloseButClick();
  void RowLabelClick(int row);  // row 1..20
  void LinesDataClick();
  // Empties the type, colour and reference texts of all 20 rows.
  void ClearRowLabels();
  // What a dimension file opened in the main window asks of this dialog: the row texts cleared,
  // then refilled from the loaded items, and the current item highlighted.
  void DimensionFileOpened();
  // Escape and the window's close box do what Close does.
  void reject() override;
  void HighlightCurrentItem();
  void ResetItemChoices();

  // Controls, for tests. Rows and edits count from 1; edit n is 1..4 within its row.
  QRadioButton* typeButton(int index) const { return typeButtons_[index]; }
  QRadioButton* colourButton(int index) const { return colourButtons_[index]; }
  QRadioButton* refButton(int index) const { return refButtons_[index]; }
  QPushButton* drawBut() const { return DrawBut; }
  QPushButton* clearLineBut() const { return ClearLine; }
  QPushButton* closeBut() const { return CloseBut; }
  QFrame* rowPanel(int row) const { return rows_[row].panel; }
  QLabel* numberLabel(int row) const { return rows_[row].number; }
  QLabel* typeLabel(int row) const { return rows_[row].type; }
  QLabel* colourLabel(int row) const { return rows_[row].colour; }
  QLabel* refLabel(int row) const { return rows_[row].ref; }
  KeyFilterEdit* edit(int row, int n) const { return rows_[row].edits[n - 1]; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Row {
    QFrame* panel = nullptr;
    QLabel* number = nullptr;
    QLabel* type = nullptr;
    QLabel* colour = nullptr;
    QLabel* ref = nullptr;
    std::array<KeyFilterEdit*, 4> edits{};
  };

  int currentItem();
  bool allChosen() const;
  void clearGroups();
  void clearGroup(QButtonGroup* group, int& choice);
  void editExit(int row, int n);
  void showTexts(int row, const std::array<std::string, 4>& texts);

  Workspace& ws_;
  SoundSink& sound_;
  float ref1SnapH_ = 0.0f, ref1SnapV_ = 0.0f;

  QButtonGroup* RadioGroup1 = nullptr;
  QButtonGroup* RadioGroup2 = nullptr;
  QButtonGroup* RadioGroup3 = nullptr;
  std::array<QRadioButton*, 2> typeButtons_{};
  std::array<QRadioButton*, 6> colourButtons_{};
  std::array<QRadioButton*, 4> refButtons_{};
  QPushButton* DrawBut = nullptr;
  QPushButton* ClearLine = nullptr;
  QPushButton* CloseBut = nullptr;
  QPushButton* LinesData = nullptr;
  std::array<Row, kOverlayItems + 1> rows_{};  // rows 1..20
};

}  // namespace vek1
