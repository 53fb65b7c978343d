#include "frame_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "frame_tick.h"
#include "numbers.h"

namespace vek1 {

namespace {
// The window's silver, which the frame starts from and shows beyond its edge.
constexpr Rgb kBackground{192, 192, 192};
const QColor kBackgroundColour(kBackground.r, kBackground.g, kBackground.b);
}  // namespace

FrameView::FrameView(QWidget* parent)
    : QWidget(parent),
      frame_(kFrameWidth, kFrameHeight, QImage::Format_RGB32),
      rng_(std::random_device{}()) {
  frame_.fill(kBackgroundColour);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

FrameView::~FrameView() = default;

void FrameView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // The image has the screen's own pixel pitch: drawn into its size in drawing pixels, it lands
  // pixel for pixel on the screen. Beyond the frame the window shows the frame's background.
  const QRectF target(0, 0, frame_.width() / scale_, frame_.height() / scale_);
  painter.drawImage(target, frame_, QRectF(frame_.rect()));
  const QRegion outside = QRegion(event->rect()) - QRegion(target.toAlignedRect());
  for (const QRect& r : outside) painter.fillRect(r, kBackgroundColour);
}

void FrameView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const QSize wanted = frameSizeForView();
  if (frame_.width() < wanted.width() || frame_.height() < wanted.height()) reallocateFrame();
}

void FrameView::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::MiddleButton) {
    dragFrom_ = at;
    return;
  }
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
    emit mousePressed(event->button() == Qt::LeftButton, at);
}

void FrameView::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  if (!dragFrom_ || !(event->buttons() & Qt::MiddleButton)) return;
  const QPoint at = event->position().toPoint();
  const QPoint by = at - *dragFrom_;
  dragFrom_ = at;
  if (!by.isNull()) emit dragged(by);
}

void FrameView::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::MiddleButton) dragFrom_.reset();
}

void FrameView::wheelEvent(QWheelEvent* event) {
  const int eighths = event->angleDelta().y();
  if (eighths == 0) {
    event->ignore();
    return;
  }
  event->accept();
  emit wheelTurned(event->position().toPoint(), eighths);
}

QSize FrameView::frameSizeForView() const {
  // At least the frame the layouts were made for, and as large as the window's drawing.
  const int width = std::max(kFrameWidth, this->width());
  const int height = std::max(kFrameHeight, this->height());
  return QSize(roundHalfEven(width * scale_), roundHalfEven(height * scale_));
}

void FrameView::matchScreenScale() {
  const double ratio = std::clamp(devicePixelRatioF(), 1.0, 8.0);
  if (ratio == scale_) return;
  scale_ = ratio;
  reallocateFrame();
}

void FrameView::reallocateFrame() {
  frame_ = QImage(frameSizeForView(), QImage::Format_RGB32);
  frame_.fill(kBackgroundColour);
  dirty_ = DirtyArea{};
  diff_.reset();
  dirty_.whole = true;
  update();
}

FrameOutcome FrameView::drawTick(Workspace& ws, SoundSink& sound, const Workspace* ghost) {
  matchScreenScale();
  ++framesDrawn_;
  // Outside what the last frame and this one drew, both are background: only there can the
  // picture have changed.
  const DirtyArea before = dirty_;
  FrameOutcome outcome;
  {
    QPainterCanvas canvas(frame_, &dirty_, scale_);
    // The steam's specks are scattered afresh from the clock on every frame.
    const auto seed = static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    rng_.seed(seed);
    FrameContext context{sound, rng_, ws.ShowDimensionId != 0};
    context.ghost = ghost;
    rememberShownFrame(ws, seed, context.positionDisplayActive);
    outcome = AnimationTick(canvas, ws, context);
  }
  showChangedTiles(before);
  return outcome;
}

void FrameView::showChangedTiles(const DirtyArea& before) {
  QRect visible(0, 0, static_cast<int>(std::ceil(width() * scale_)),
                static_cast<int>(std::ceil(height() * scale_)));
  const auto drawn = [](const DirtyArea& a) {
    return QRect(QPoint(a.left, a.top), QPoint(a.right - 1, a.bottom - 1));
  };
  if (!before.whole && !dirty_.whole) visible &= drawn(before) | drawn(dirty_);
  const QRegion changed = diff_.changed(frame_, visible);
  if (scale_ == 1.0) {
    update(changed);
    return;
  }
  QRegion logical;
  for (const QRect& r : changed) {
    const int left = static_cast<int>(std::floor(r.left() / scale_));
    const int top = static_cast<int>(std::floor(r.top() / scale_));
    const int right = static_cast<int>(std::ceil((r.right() + 1) / scale_));
    const int bottom = static_cast<int>(std::ceil((r.bottom() + 1) / scale_));
    logical += QRect(left, top, right - left, bottom - top);
  }
  update(logical);
}

void FrameView::rememberShownFrame(const Workspace& ws, std::mt19937::result_type seed,
                                   bool positionDisplayActive) {
  if (!shown_) shown_ = std::make_unique<ShownFrame>();
  shown_->ws = ws;
  shown_->seed = seed;
  shown_->positionDisplayActive = positionDisplayActive;
}

const Workspace* FrameView::shownSet() const {
  return shown_ ? &shown_->ws : nullptr;
}

void FrameView::drawShownFrame(Canvas& canvas, bool caption, const Workspace* ghost) const {
  if (!shown_) {  // no frame drawn yet: the window is blank
    canvas.clear(kBackground);
    return;
  }
  // The tick works on a copy, so the working set, the running gear and the next frame are just
  // as they would have been without the export.
  Workspace ws = shown_->ws;
  // The frame drawn again is a picture only: its sounds are not played a second time.
  SilentSoundSink sound;
  std::mt19937 rng(shown_->seed);
  FrameContext context{sound, rng, shown_->positionDisplayActive, true};
  if (caption) context.caption = frameCaption(ws);
  context.ghost = ghost;
  AnimationTick(canvas, ws, context);
}

QSize FrameView::shownFrameSize() const {
  // The drawing fills the window's client area from its top-left corner, up to the whole frame
  // (which grows with a window larger than it).
  const QSize frame(static_cast<int>(std::lround(frame_.width() / scale_)),
                    static_cast<int>(std::lround(frame_.height() / scale_)));
  return size().boundedTo(frame).expandedTo(QSize(1, 1));
}

ExportResult FrameView::exportShownFrame(const QString& path, const QString& title, bool caption,
                                         const Workspace* ghost) const {
  // What the window shows of the frame: PNG is its own pixels, drawn at the screen's pixel
  // ratio; SVG and PDF are the same part of the frame in its drawing units.
  const QSize shown = shownFrameSize();
  const PictureInfo info{{shown.width(), shown.height()}, title};
  // Drawn again rather than copied off the screen, so that the captions of the bars, which the
  // picture does not show, are left out as in SVG and PDF.
  QImage pixels(static_cast<int>(std::lround(shown.width() * scale_)),
                static_cast<int>(std::lround(shown.height() * scale_)), QImage::Format_RGB32);
  {
    QPainterCanvas canvas(pixels, nullptr, scale_);
    drawShownFrame(canvas, caption, ghost);
  }
  return exportFrame(path, pixels, scale_, info, [this, caption, ghost](Canvas& canvas) {
    drawShownFrame(canvas, caption, ghost);
  });
}

}  // namespace vek1
