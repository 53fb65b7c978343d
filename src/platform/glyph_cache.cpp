#include "glyph_cache.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <memory>

namespace vek1 {

QFont rasterFont(int pixels, FontStyle style) {
  QFont font = canvasFont(pixels, style);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

const GlyphFace::Glyph& GlyphFace::glyph(char16_t c) {
  if (c < ascii.size()) {
    auto& slot = ascii[c];
    if (!slot) slot = render(c);
    return *slot;
  }
  auto it = others.find(c);
  if (it == others.end()) it = others.emplace(c, render(c)).first;
  return it->second;
}

GlyphFace::Glyph GlyphFace::render(char16_t c) const {
  const QFont font = rasterFont(pixels, style);
  const QFontMetrics metrics(font);
  const QString text(QChar{c});
  Glyph glyph;
  glyph.advance = metrics.horizontalAdvance(text);
  // Room for italic overhang and for characters that reach left of their origin.
  const int margin = pixels + 2;
  QImage image(std::max(glyph.advance, 0) + 2 * margin, metrics.height() + 2 * margin,
               QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(margin, margin + ascent), text);
  }
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(row[x]) < 128) {
        glyph.offsets.push_back(static_cast<std::int16_t>(x - margin));
        glyph.offsets.push_back(static_cast<std::int16_t>(y - margin));
      }
    }
  }
  return glyph;
}

GlyphFace& glyphFace(int pixels, FontStyle style) {
  static std::vector<std::unique_ptr<GlyphFace>> faces;
  for (auto& f : faces) {
    if (f->pixels == pixels && f->style == style) return *f;
  }
  auto created = std::make_unique<GlyphFace>();
  created->pixels = pixels;
  created->style = style;
  created->ascent = QFontMetrics(rasterFont(pixels, style)).ascent();
  faces.push_back(std::move(created));
  return *faces.back();
}

}  // namespace vek1
