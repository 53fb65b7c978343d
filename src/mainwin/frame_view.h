#pragma once
// The main window's drawing: the frame image and what draws it, the tiles a new frame changed,
// and the frame on screen drawn again for an export or a print. The control strips and the tool
// bar are its children and sit over the drawing, in the frame's own coordinates.
// The frame image holds `scale` device pixels per drawing pixel, so that it is shown 1:1 on the
// screen's own pixels.

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <optional>
#include <random>

#include "canvas.h"
#include "frame.h"
#include "frame_diff.h"
#include "painter_canvas.h"
#include "picture_export.h"
#include "sound.h"
#include "workspace.h"

namespace vek1 {

class FrameView : public QWidget {
  Q_OBJECT
 public:
  explicit FrameView(QWidget* parent = nullptr);
  ~FrameView() override;
  // The drawing asks for the size that shows its strip and screen data whole, so that the
  // window opens at it.
  QSize sizeHint() const override { return minimumSize(); }

  const QImage& frameImage() const { return frame_; }
  double scale() const { return scale_; }
  // Frames drawn since the view was made.
  int framesDrawn() const { return framesDrawn_; }
  // The animation tick's frame: the tick runs on the set and draws into the image, the view
  // keeps what the frame was drawn from, and repaints the tiles that changed.
  FrameOutcome drawTick(Workspace& ws, SoundSink& sound, const Workspace* ghost);
  // The next frame redraws the whole picture.
  void redrawWhole() { dirty_.whole = true; }

  // The frame on screen drawn again on any canvas, from the state it was drawn from, with the
  // picture caption when asked; blank before the first frame.
  void drawShownFrame(Canvas& canvas, bool caption, const Workspace* ghost) const;
  // The set the frame on screen was drawn from, or null before the first frame.
  const Workspace* shownSet() const;
  // How much of the frame the window shows, in frame units: what is exported and printed.
  QSize shownFrameSize() const;
  // What the window shows of the frame to a file: PNG at the screen's pixel ratio, SVG or PDF by
  // the file's extension.
  ExportResult exportShownFrame(const QString& path, const QString& title, bool caption,
                                const Workspace* ghost) const;

 signals:
  // Left and right presses only: the middle button drags the view.
  void mousePressed(bool left, QPoint at);
  // The wheel turned by `eighths` of a degree with the pointer at `at`.
  void wheelTurned(QPoint at, int eighths);
  // The middle button dragged the picture by `by` pixels.
  void dragged(QPoint by);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // The frame image: as large as the drawing (never smaller than the frame the layouts were made
  // for), at the screen's pixel ratio.
  QSize frameSizeForView() const;
  void matchScreenScale();
  void reallocateFrame();
  // Repaints the parts of the drawing that the new frame changed.
  void showChangedTiles(const DirtyArea& before);
  void rememberShownFrame(const Workspace& ws, std::mt19937::result_type seed,
                          bool positionDisplayActive);

  QImage frame_;
  DirtyArea dirty_;
  FrameDiff diff_;
  std::mt19937 rng_;
  double scale_ = 1.0;
  int framesDrawn_ = 0;
  std::optional<QPoint> dragFrom_;
  // What the frame on screen was drawn from: the working set before its tick and the steam's
  // seed, so an export draws the very same frame again without disturbing the running gear.
  struct ShownFrame {
    Workspace ws;
    std::mt19937::result_type seed = 0;
    bool positionDisplayActive = false;
  };
  std::unique_ptr<ShownFrame> shown_;
};

}  // namespace vek1
