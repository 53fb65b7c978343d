#pragma once
// A table of text cells as a picture: a ruled grid with the header in bold and the marked cells
// on a yellow ground, under a few title lines. The studies' windows show and export it alike.

#include <string>
#include <vector>

#include "canvas.h"

namespace vek1 {

struct StudyCell {
  std::string text;
  bool marked = false;  // among the largest of its column
  bool dim = false;     // drawn in grey: a row that cannot move anything
};

struct StudyTable {
  std::vector<std::string> title;  // the first line in bold
  std::vector<std::string> header;
  std::vector<std::vector<StudyCell>> rows;
};

CanvasSize studyTablePictureSize(const StudyTable& table);
// Draws the table on a white picture of that size.
void drawStudyTable(Canvas& canvas, const StudyTable& table);

}  // namespace vek1
