#include "report_gear_views.h"

#include <QImage>
#include <algorithm>
#include <random>

#include "fit_view.h"
#include "frame_tick.h"
#include "numbers.h"
#include "sound.h"
#include "view.h"
#include "ink_extent.h"
#include "painter_canvas.h"

namespace vek1 {

namespace {

constexpr int kMargin = 12;  // frame pixels around what the four pictures draw
constexpr std::mt19937::result_type kSeed = 1;

void drawFrameAt(Canvas& canvas, const Workspace& set, float angle) {
  Workspace ws = set;
  ws.DriverAngle = angle;
  SilentSoundSink sound;
  std::mt19937 rng(kSeed);
  FrameContext context{sound, rng, false, true};
  AnimationTick(canvas, ws, context);
}

// Passes every call on but the clearing of the whole surface. The frame keeps its own size
// (its clip of the gear's area is reckoned from it), so it is drawn whole and the page shows
// the part of it the pictures need.
class GroundlessCanvas final : public Canvas {
 public:
  explicit GroundlessCanvas(Canvas& target) : t_(target) {}
  CanvasSize size() const override { return t_.size(); }
  void clear(Rgb) override {}
  void setClip(const CanvasClip& c) override { t_.setClip(c); }
  void clearClip() override { t_.clearClip(); }
  void setPenColour(Rgb c) override { t_.setPenColour(c); }
  void setPenWidth(int w) override { t_.setPenWidth(w); }
  void moveTo(int x, int y) override { t_.moveTo(x, y); }
  void lineTo(int x, int y) override { t_.lineTo(x, y); }
  void ellipse(int l, int t, int r, int b) override { t_.ellipse(l, t, r, b); }
  void arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4) override {
    t_.arc(l, t, r, b, x3, y3, x4, y4);
  }
  void setPixel(int x, int y, Rgb c) override { t_.setPixel(x, y, c); }
  void setFontColour(Rgb c) override { t_.setFontColour(c); }
  void setFontSize(int points) override { t_.setFontSize(points); }
  void setFontStyle(FontStyle style) override { t_.setFontStyle(style); }
  void textOut(int x, int y, std::string_view text) override { t_.textOut(x, y, text); }

 private:
  Canvas& t_;
};

}  // namespace

ReportGearViews reportGearViews(const Workspace& set) {
  ReportGearViews v{set, {0, 0, {kFrameWidth, kFrameHeight}}};
  Workspace& ws = v.ws;
  ws.ReverseArmPos =
      toSingle(static_cast<double>(ws.RevArmPositions[0]) + ws.Frame[dim::RevArmToCentNorm]);
  ws.StepAngle = 0.0f;
  ws.SteamDisplayOn = false;
  ws.ScreenDataOn = false;
  ws.RefPointsMode = false;
  ws.PivotDataMode = false;
  ws.ShowDimensionId = 0;
  if (const auto fitted = fittedView(ws, {0, 0, kFrameWidth, kFrameHeight}))
    SetCurrentView(ws, *fitted);

  // Where any of the angles lights a pixel: found from the pixels, so texts count too.
  QRect inked;
  for (const float angle : kReportCrankAngles) {
    QImage image(kFrameWidth, kFrameHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainterCanvas canvas(image);
      drawFrameAt(canvas, ws, angle);
    }
    inked |= inkBounds(image);
  }
  v.part = partAround(inked, {kFrameWidth, kFrameHeight}, kMargin);
  return v;
}

void drawReportGear(Canvas& canvas, const ReportGearViews& views, float angle) {
  GroundlessCanvas page(canvas);
  drawFrameAt(page, views.ws, angle);
}

}  // namespace vek1
