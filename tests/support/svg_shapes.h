#pragma once
// The shapes of an SVG file as a drawing program sees them: each drawing element in document
// order, with the points of a polyline, so tests can count the objects a picture is made of.

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <vector>

namespace vek1::testing {

struct SvgShape {
  QString element;              // polyline, path, text, rect, circle, ellipse...
  std::vector<QPointF> points;  // a polyline's points
};

// Every element that draws something (the grouping elements and the document's header left out).
inline std::vector<SvgShape> svgShapes(const QByteArray& svg) {
  static const QStringList kNotShapes = {"svg", "g", "title", "desc", "defs", "tspan"};
  std::vector<SvgShape> shapes;
  QXmlStreamReader reader(svg);
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    const QString name = reader.name().toString();
    if (kNotShapes.contains(name)) continue;
    SvgShape shape{name, {}};
    if (name == QLatin1String("polyline")) {
      const QString points = reader.attributes().value(QLatin1String("points")).toString();
      for (const QString& pair : points.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList xy = pair.split(QLatin1Char(','));
        if (xy.size() == 2) shape.points.emplace_back(xy[0].toDouble(), xy[1].toDouble());
      }
    }
    shapes.push_back(std::move(shape));
  }
  return shapes;
}

inline std::vector<SvgShape> svgPolylines(const QByteArray& svg) {
  std::vector<SvgShape> lines;
  for (SvgShape& s : svgShapes(svg))
    if (s.element == QLatin1String("polyline")) lines.push_back(std::move(s));
  return lines;
}

}  // namespace vek1::testing
