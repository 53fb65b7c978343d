// The report's pictures: the program's own drawings painted through the vector canvas, so they
// print sharp and their texts stay text.
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <functional>
#include <memory>

#include "diagram_sizes.h"
#include "frame.h"
#include "numbers.h"
#include "oval_drawing.h"
#include "port_diagram_drawing.h"
#include "report_gear_views.h"
#include "report_sections.h"
#include "rev_arm_positions.h"
#include "sine_drawing.h"
#include "steam_diagram_drawing.h"
#include "vector_canvas.h"

namespace vek1 {

namespace {

// Paints a picture of `size` pixels into `box`, under its caption, as large as fits but never
// larger than it shows on the screen (its texts would grow past the body text's size).
// `size` is the part shown; the drawing is made on a canvas of `canvasSize` (the same, or a
// whole frame of which the part at `origin` is shown).
void paintPicture(QPainter& p, const QRectF& box, CanvasSize size, const QString& caption,
                  const std::function<void(Canvas&)>& draw, CanvasSize canvasSize = {},
                  QPointF origin = {}) {
  if (canvasSize.width <= 0) canvasSize = size;
  p.setFont(reportFont(kReportBodyPoints + 1, true));
  const double captionHeight = QFontMetricsF(p.font(), p.device()).lineSpacing() * 1.3;
  p.drawText(QRectF(box.left(), box.top(), box.width(), captionHeight),
             Qt::AlignHCenter | Qt::AlignTop, caption);
  const double room = box.height() - captionHeight;
  const double scale =
      std::min({1.0, box.width() / size.width, room / static_cast<double>(size.height)});
  if (!(scale > 0)) return;
  const double left = box.left() + (box.width() - size.width * scale) / 2;
  const double top = box.top() + captionHeight;
  p.save();
  p.translate(left, top);
  p.scale(scale, scale);
  p.translate(-origin);
  {
    VectorCanvas canvas(p, canvasSize);
    draw(canvas);
  }
  p.restore();
  p.setPen(QPen(QColor(160, 160, 160), 0.5));
  // A few pixels outside the picture: a diagram's texts reach its very edge.
  constexpr double kFrameGap = 3.0;
  p.drawRect(QRectF(left - kFrameGap, top - kFrameGap, size.width * scale + 2 * kFrameGap,
                    size.height * scale + 2 * kFrameGap));
  p.setPen(Qt::black);
}

// The diagrams draw over the set's positions, as the windows do.
Workspace diagramSet(const Workspace& set) {
  Workspace ws = set;
  RefreshPositions(ws);
  return ws;
}

}  // namespace

std::vector<ReportPage> gearPages(const Workspace& set) {
  auto views = std::make_shared<const ReportGearViews>(reportGearViews(set));
  const double offset = set.Frame[dim::RevArmToCentNorm];
  const std::string title = "The gear at normal full forward gear (reverse arm at " +
                            fixedText(offset, 0, 3) + " from the centre)";
  return {{QPageLayout::Landscape, title, [views](QPainter& p, const QRectF& b) {
             const double gap = 16;
             const double w = (b.width() - gap) / 2, h = (b.height() - gap) / 2;
             for (std::size_t k = 0; k < kReportCrankAngles.size(); ++k) {
               const QRectF box(b.left() + static_cast<double>(k % 2) * (w + gap),
                                b.top() + static_cast<double>(k / 2) * (h + gap), w, h);
               const float angle = kReportCrankAngles[k];
               paintPicture(
                   p, box, views->part.size,
                   QStringLiteral("Crank angle %1 degrees").arg(angle, 0, 'f', 0),
                   [&](Canvas& c) { drawReportGear(c, *views, angle); },
                   {kFrameWidth, kFrameHeight}, QPointF(views->part.left, views->part.top));
             }
           }}};
}

std::vector<ReportPage> diagramPages(const Workspace& set) {
  auto ws = std::make_shared<const Workspace>(diagramSet(set));
  struct Diagram {
    const char* caption;
    CanvasSize size;
    std::function<void(Canvas&, const Workspace&)> draw;
  };
  const std::vector<Diagram> diagrams = {
      {"Sine diagram: valve travel against driver angle", kSineDiagramSize,
       [](Canvas& c, const Workspace& w) { drawSineDiagram(c, w); }},
      {"Oval diagram: valve travel against piston travel", kOvalDiagramSize,
       [](Canvas& c, const Workspace& w) { drawOvalDiagram(c, w); }},
      {"Steam diagram: indicator card of each cylinder end", kSteamDiagramSize,
       [](Canvas& c, const Workspace& w) { drawSteamDiagram(c, w); }},
      {"Port events diagram: where each port edge opens and closes (forward)", kPortDiagramSize,
       [](Canvas& c, const Workspace& w) { drawPortDiagram(c, w, 'F', true); }}};
  std::vector<ReportPage> pages;
  for (std::size_t k = 0; k < diagrams.size(); k += 2) {
    const Diagram first = diagrams[k], second = diagrams[k + 1];
    pages.push_back(
        {QPageLayout::Portrait, "Diagrams", [ws, first, second](QPainter& p, const QRectF& b) {
           const double gap = 16;
           const double h = (b.height() - gap) / 2;
           for (const auto& [d, top] :
                {std::pair{first, b.top()}, std::pair{second, b.top() + h + gap}})
             paintPicture(p, QRectF(b.left(), top, b.width(), h), d.size,
                          QString::fromLatin1(d.caption), [&](Canvas& c) { d.draw(c, *ws); });
         }});
  }
  return pages;
}

}  // namespace vek1
