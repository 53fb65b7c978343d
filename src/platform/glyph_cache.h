#pragma once
// The characters of the painter canvas: each character of a font at one pixel size and style,
// drawn once into the pixels it lights, and kept for the life of the program (the window draws a
// fresh canvas every frame; the pixels depend only on the font and the character).

#include <QFont>
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "canvas.h"

namespace vek1 {

// The face every canvas text is rasterised in, without antialiasing.
QFont rasterFont(int pixels, FontStyle style);

// A font at one pixel size and style, with the pixels of each character drawn so far. Text is
// drawn character by character at whole-pixel advances, without kerning, as a character-cell
// text output does.
struct GlyphFace {
  struct Glyph {
    int advance = 0;
    std::vector<std::int16_t> offsets;  // (dx, dy) pairs from the top-left of the character cell
  };

  int pixels = 0;
  FontStyle style;
  int ascent = 0;
  std::array<std::optional<Glyph>, 128> ascii;
  std::unordered_map<char16_t, Glyph> others;

  // The character's pixels, drawn on first use.
  const Glyph& glyph(char16_t c);

 private:
  Glyph render(char16_t c) const;
};

// The face of `pixels` and `style` from the program-wide cache, made on first use.
GlyphFace& glyphFace(int pixels, FontStyle style);

}  // namespace vek1
