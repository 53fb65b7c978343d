#pragma once
// The indicator cards as a picture: for each chosen notch, the pressure (psi gauge) against the
// piston's place (percent of stroke from the end's own dead centre), the front end's cards on
// the left and the rear end's on the right, with the chest and back pressures ruled in.

#include <string>
#include <vector>

#include "canvas.h"
#include "engine_performance.h"

namespace vek1 {

struct CardsPicture {
  std::string setName;
  EngineSettings settings;
  std::vector<PerformanceRow> rows;  // one per notch to draw, in the colours' order
};

// The legend has a line a card, up to six.
CanvasSize cardsPictureSize(const CardsPicture& p);
void drawIndicatorCards(Canvas& canvas, const CardsPicture& p);

// The colour of the i-th card.
Rgb cardColour(std::size_t i);

}  // namespace vek1
