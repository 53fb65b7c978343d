#include "study_table.h"

#include <algorithm>

namespace vek1 {

namespace {

constexpr int kFontPoints = 8;
// The canvas has no text measure: a column is sized for its longest text at the widest advance
// of the face's digits and letters at 8 points, as the valve events picture does.
constexpr int kCharWidth = 7;
constexpr int kCellPadding = 6;
constexpr int kRowHeight = 16;
constexpr int kMargin = 8;
constexpr int kTitleLine = 16;
constexpr int kMaxSide = 16000;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrey{150, 150, 150};
constexpr Rgb kGrid{160, 160, 160};
constexpr Rgb kMarked{255, 240, 120};

int textWidth(const std::string& text) {
  return cellTextWidth(text, kCharWidth, kMaxSide);
}

std::vector<int> columnWidths(const StudyTable& t) {
  std::size_t columns = t.header.size();
  for (const auto& row : t.rows) columns = std::max(columns, row.size());
  std::vector<int> widths(columns, 0);
  for (std::size_t c = 0; c < t.header.size(); ++c)
    widths[c] = std::max(widths[c], textWidth(t.header[c]));
  for (const auto& row : t.rows)
    for (std::size_t c = 0; c < row.size(); ++c)
      widths[c] = std::max(widths[c], textWidth(row[c].text));
  for (int& w : widths) w += 2 * kCellPadding;
  return widths;
}

int titleHeight(const StudyTable& t) {
  return static_cast<int>(t.title.size()) * kTitleLine + 4;
}

}  // namespace

CanvasSize studyTablePictureSize(const StudyTable& t) {
  long long width = 0;
  for (int w : columnWidths(t)) width += w;
  for (const std::string& line : t.title) width = std::max<long long>(width, textWidth(line));
  const long long height = 2 * kMargin + titleHeight(t) +
                           kRowHeight * (static_cast<long long>(t.rows.size()) + 1);
  return {static_cast<int>(std::clamp<long long>(width + 2 * kMargin, 1, kMaxSide)),
          static_cast<int>(std::clamp<long long>(height, 1, kMaxSide))};
}

void drawStudyTable(Canvas& canvas, const StudyTable& t) {
  const CanvasSize size = studyTablePictureSize(t);
  const std::vector<int> widths = columnWidths(t);
  canvas.clear(Rgb{255, 255, 255});
  canvas.setFontSize(kFontPoints);
  canvas.setFontColour(kBlack);
  for (std::size_t i = 0; i < t.title.size(); ++i) {
    canvas.setFontStyle({.bold = i == 0});
    canvas.textOut(kMargin, kMargin + static_cast<int>(i) * kTitleLine, t.title[i]);
  }
  const int top = kMargin + titleHeight(t);
  const int rows = std::min<int>(static_cast<int>(t.rows.size()),
                                 (size.height - top - kMargin) / kRowHeight - 1);
  const int bottom = top + kRowHeight * (rows + 1);
  const int right = size.width - kMargin;
  std::vector<int> left(widths.size() + 1, kMargin);
  for (std::size_t c = 0; c < widths.size(); ++c) left[c + 1] = left[c] + widths[c];

  // Marked grounds first, one line a pixel row (the canvas draws outlines only), then the rules.
  canvas.setPenWidth(1);
  canvas.setPenColour(kMarked);
  for (int r = 0; r < rows; ++r) {
    const auto& row = t.rows[static_cast<std::size_t>(r)];
    const int y = top + (r + 1) * kRowHeight;
    for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
      if (!row[c].marked) continue;
      for (int dy = 1; dy < kRowHeight; ++dy) {
        canvas.moveTo(left[c] + 1, y + dy);
        canvas.lineTo(left[c + 1], y + dy);
      }
    }
  }
  canvas.setPenColour(kGrid);
  for (int r = 0; r <= rows + 1; ++r) {
    canvas.moveTo(kMargin, top + r * kRowHeight);
    canvas.lineTo(right + 1, top + r * kRowHeight);
  }
  for (std::size_t c = 0; c < left.size() && left[c] <= right; ++c) {
    canvas.moveTo(left[c], top);
    canvas.lineTo(left[c], bottom + 1);
  }
  canvas.setFontStyle({.bold = true});
  for (std::size_t c = 0; c < t.header.size() && c < widths.size(); ++c)
    canvas.textOut(left[c] + kCellPadding, top + 2, t.header[c]);
  canvas.setFontStyle({});
  for (int r = 0; r < rows; ++r) {
    const auto& row = t.rows[static_cast<std::size_t>(r)];
    const int y = top + (r + 1) * kRowHeight;
    for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
      canvas.setFontColour(row[c].dim ? kGrey : kBlack);
      canvas.textOut(left[c] + kCellPadding, y + 2, row[c].text);
    }
  }
}

}  // namespace vek1
