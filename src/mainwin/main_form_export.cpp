// The main window's picture out: File > ExportPicture and File > Print.
#include <cmath>

#include "export_dialog.h"
#include "frame_tick.h"
#include "main_form.h"
#include "picture_print.h"
#include "painter_canvas.h"

namespace vek1 {

void TMainForm::rememberShownFrame(std::mt19937::result_type seed, bool positionDisplayActive) {
  if (!shownFrame_) shownFrame_ = std::make_unique<ShownFrame>();
  shownFrame_->ws = ws_;
  shownFrame_->seed = seed;
  shownFrame_->positionDisplayActive = positionDisplayActive;
}

void TMainForm::drawShownFrame(Canvas& canvas) const {
  if (!shownFrame_) {  // no frame drawn yet: the window is blank
    canvas.clear(Rgb{192, 192, 192});
    return;
  }
  // The tick works on a copy, so the working set, the running gear and the next frame are just
  // as they would have been without the export.
  Workspace ws = shownFrame_->ws;
  // The frame drawn again is a picture only: its sounds are not played a second time.
  SilentSoundSink sound;
  std::mt19937 rng(shownFrame_->seed);
  FrameContext context{sound, rng, shownFrame_->positionDisplayActive, true};
  if (PictureCaption && PictureCaption->isChecked()) context.caption = frameCaption(ws);
  if (ghostSet) context.ghost = ghostSet();
  AnimationTick(canvas, ws, context);
}

QString TMainForm::pictureTitle() const {
  return QString::fromStdString(TitleWithoutClock(windowTitle().toStdString(), ws_.DimSetName));
}

QSize TMainForm::shownFrameSize() const {
  // The drawing fills the window's client area from its top-left corner, up to the whole frame
  // (which grows with a window larger than it).
  const QSize client = Surface ? Surface->size() : QSize(kFrameWidth, kFrameHeight);
  const QSize frame(static_cast<int>(std::lround(frame_.width() / scale_)),
                    static_cast<int>(std::lround(frame_.height() / scale_)));
  return client.boundedTo(frame).expandedTo(QSize(1, 1));
}

ExportResult TMainForm::exportPictureTo(const QString& path) const {
  // What the window shows of the frame: PNG is its own pixels, drawn at the screen's pixel
  // ratio; SVG and PDF are the same part of the frame in its drawing units.
  const QSize shown = shownFrameSize();
  const PictureInfo info{{shown.width(), shown.height()}, pictureTitle()};
  // Drawn again rather than copied off the screen, so that the captions of the bars, which the
  // picture does not show, are left out as in SVG and PDF.
  QImage pixels(static_cast<int>(std::lround(shown.width() * scale_)),
                static_cast<int>(std::lround(shown.height() * scale_)), QImage::Format_RGB32);
  {
    QPainterCanvas canvas(pixels, nullptr, scale_);
    drawShownFrame(canvas);
  }
  return exportFrame(path, pixels, scale_, info,
                     [this](Canvas& canvas) { drawShownFrame(canvas); });
}

void TMainForm::ExportPictureClick() {
  exportPictureAsked(this, QStringLiteral("Export Picture"), pictureTitle(),
                     [this](const QString& path) { return exportPictureTo(path); });
}

void TMainForm::Print1Click() {
  const QSize shown = shownFrameSize();
  const PictureInfo info{{shown.width(), shown.height()}, pictureTitle()};
  printPictureAsked(this, info, [this](Canvas& canvas) { drawShownFrame(canvas); });
}

}  // namespace vek1
