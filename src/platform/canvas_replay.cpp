#include "canvas_replay.h"
#include "recording_canvas.h"

namespace vek1 {

void replayCalls(const std::vector<DrawCall>& calls, Canvas& target) {
  for (const DrawCall& c : calls) {
    switch (c.kind) {
      case DrawKind::Clear:
        target.clear(c.colour);
        break;
      case DrawKind::PenColour:
        target.setPenColour(c.colour);
        break;
      case DrawKind::PenWidth:
        target.setPenWidth(c.penWidth);
        break;
      case DrawKind::MoveTo:
        target.moveTo(c.x1, c.y1);
        break;
      case DrawKind::LineTo:
        // The recording's start is where the previous calls left the pen; the target's is too.
        target.lineTo(c.x2, c.y2);
        break;
      case DrawKind::Ellipse:
        target.ellipse(c.x1, c.y1, c.x2, c.y2);
        break;
      case DrawKind::Arc:
        target.arc(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4);
        break;
      case DrawKind::Pixel:
        target.setPixel(c.x1, c.y1, c.colour);
        break;
      case DrawKind::FontColour:
        target.setFontColour(c.colour);
        break;
      case DrawKind::FontSize:
        target.setFontSize(c.fontSize);
        break;
      case DrawKind::FontStyle:
        target.setFontStyle(c.fontStyle);
        break;
      case DrawKind::Text:
        target.textOut(c.x1, c.y1, c.text);
        break;
    }
  }
}

}  // namespace vek1
