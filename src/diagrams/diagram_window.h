#pragma once
// The window every diagram shares: it stops the animation while it is open (the drawing drives
// the driver and the reverse arm itself), has its own dynamic-variable bars and undo button acting
// on the same list and history as the main window's, and a small menu. The diagram is drawn into
// a picture that the window shows; only the diagram's own triggers draw it again.

#include <QDialog>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <array>
#include <utility>
#include <vector>

#include "canvas.h"
#include "recording_canvas.h"
#include "diagram_frame_drawing.h"
#include "endscrollbar.h"
#include "picture_export.h"
#include "workspace.h"

namespace vek1 {

class ReferenceSet;

class DiagramWindow : public QDialog {
  Q_OBJECT
 public:
  // Where a window differs from the others: its size, the place of its Close button, which of
  // the five undo buttons it is, and the captions of its menu items.
  struct Layout {
    int clientWidth = 632;
    int clientHeight = 414;
    QPoint closeAt{408, 8};
    UndoLinePlace undoLine{};  // the button stands to the line's left
    UndoButton undoButton = UnDoDnS;
    QString setRevArmCaption, redrawCaption, undoCaption, dynVarCaption;
  };

  DiagramWindow(Workspace& ws, QDialog* setRevArm, const Layout& layout, QWidget* parent);

  std::array<EndScrollBar*, 5> SBDynVar{};  // 1..4
  QPushButton* CloseButton = nullptr;
  QPushButton* UnDoButton = nullptr;
  QMenuBar* Menu = nullptr;
  QAction* SetRevArmPos = nullptr;  // null for a diagram that does not use the positions
  QAction* ReDraw = nullptr;
  QAction* UnDoMenu = nullptr;
  QAction* DynVari = nullptr;
  QAction* Export1 = nullptr;
  QAction* Print1 = nullptr;

  // The set to compare with: while there is one, the diagram draws its curves beneath the
  // working set's, and draws again when it is loaded or cleared.
  void setReference(const ReferenceSet* reference);

  const QImage& picture() const { return picture_; }
  // The diagram as it shows now, drawn again from the calls that drew it (no solving), on any
  // canvas: the export and the print use it.
  void drawShownPicture(Canvas& canvas) const;
  PictureInfo pictureInfo() const;
  // Writes what the window shows of the diagram to `path` (PNG, SVG or PDF by its extension).
  ExportResult exportTo(const QString& path) const;

  // Handlers, shared by all four diagrams.
  void FormActivate();
  void FormClose();
  void SetRevArmPosClick();
  virtual void ReDrawClick();
  void FormMouseMove();
  void SBDynVarChange(int bar, int position);
  void SBDynVarEnter(int bar);
  void SBDynVarScroll(int bar);
  void UnDoButtonClick();
  void UnDoMenuClick();
  void DynVariClick();
  void Export1Click();
  void Print1Click();

 signals:
  // The diagram moves the driver and the reverse arm itself while it is shown: the main view's
  // animation pauses from its opening to its closing.
  void animationPaused(bool paused);
  // The diagram's switch for the dynamic-variable bars, which the main view's bars follow.
  void dynVarShownChanged(bool shown);

 protected:
  // One drawing of the diagram over what the picture holds.
  virtual DiagramOutcome drawDiagram(Canvas& canvas) = 0;
  // A redraw after a change: wipes the picture first when asked. The port diagram redraws its
  // combined view its own way.
  virtual void redraw(bool clearFirst);
  // Whether opening the window asks for the reverse-arm positions first, and whether a mouse move
  // redraws after the positions dialog closed: both only where the diagram uses the positions.
  bool usesPositions() const { return setRevArm_ != nullptr; }

  void draw(bool clearFirst);
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

  // The reference's set, or null when not comparing.
  const Workspace* referenceSet() const;

  Workspace& ws_;

 private:
  QDialog* setRevArm_;
  const ReferenceSet* reference_ = nullptr;
  unsigned drawnRevision_ = 0;
  UndoButton undoButton_;
  // The picture in drawing pixels for the current text scale.
  QSize pictureSize() const;
  // The client area below the menu for the current text scale.
  QSize scaledClient() const;
  // Where the controls stand in the drawing at factors 1 (below the menu bar): they move and
  // grow with the texts the drawing places beside them in the large font.
  std::vector<std::pair<QWidget*, QRect>> designPlaces_;
  void placeControls();
  QImage picture_;
  double scale_ = 1.0;
  QSize clientSize_;
  // Every call drawn on the picture since it was last wiped.
  RecordingCanvas shownCalls_;
  bool open_ = false;
};

}  // namespace vek1
