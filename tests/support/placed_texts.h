#pragma once
// Where the texts a drawing placed end up on screen, measured with the font they are drawn in, so
// that layout tests can check them against the real widgets around them.
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QWidget>
#include <string>
#include <vector>

#include "canvas.h"
#include "recording_canvas.h"

namespace vek1::testing {

struct PlacedText {
  QRect box;
  std::string text;
};

// Each text call of the recording as the box its characters cover. Trailing blanks, which some
// texts carry to wipe a longer previous value, cover nothing.
inline std::vector<PlacedText> placedTexts(const RecordingCanvas& canvas) {
  std::vector<PlacedText> out;
  for (const DrawCall& call : canvas.calls()) {
    if (call.kind != DrawKind::Text) continue;
    std::string text = call.text;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (text.empty()) continue;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, static_cast<int>(call.fontSize * 96.0 / 72.0 + 0.5)));
    font.setBold(call.fontStyle.bold);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QString::fromStdString(text));
    // The characters' ink lies between the top of the cell and the baseline plus the descent.
    out.push_back({QRect(call.x1, call.y1, width, metrics.ascent() + metrics.descent()), text});
  }
  return out;
}

// A masked overlay over the whole of its parent (a strip of the main window) is no control of
// its own: the controls on it stand, in effect, on the parent.
inline bool isOverlay(const QWidget* w) {
  return w->parentWidget() && !w->mask().isEmpty() && w->geometry() == w->parentWidget()->rect();
}

// The widget a control stands on, looking through overlays.
inline const QWidget* hostOf(const QWidget* w) {
  const QWidget* host = w->parentWidget();
  while (host && isOverlay(host)) host = host->parentWidget();
  return host;
}

// The visible controls placed directly in `parent`, in its coordinates.
inline std::vector<QWidget*> visibleControls(QWidget* parent) {
  std::vector<QWidget*> out;
  for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isVisibleTo(parent) || child->isWindow()) continue;
    if (isOverlay(child)) {
      for (QWidget* control : visibleControls(child)) out.push_back(control);
      continue;
    }
    out.push_back(child);
  }
  return out;
}

}  // namespace vek1::testing
