#include "canvas.h"

#include <algorithm>
#include <cstddef>

#include "numbers.h"

namespace vek1 {

namespace {
// Font sizes are turned into pixels at the 96 dots per inch the layouts were designed for,
// whatever the device reports, so texts take the same room on every screen and in every image.
constexpr double kDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;

}  // namespace

int canvasFontPixels(int points) {
  return std::clamp(roundHalfEven(points * kDotsPerInch / kPointsPerInch), 1, kMaxCanvasFontPixels);
}

int cellTextWidth(std::string_view text, int charWidth, int most) {
  const auto chars = std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
  });
  return static_cast<int>(std::min<std::ptrdiff_t>(chars, most / charWidth)) * charWidth;
}

QFont canvasFont(int pixels, FontStyle style) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  font.setBold(style.bold);
  font.setItalic(style.italic);
  // Characters stand at whole-pixel advances without kerning, as a character-cell text output
  // places them; every backend lays text out the same way.
  font.setKerning(false);
  return font;
}

}  // namespace vek1
