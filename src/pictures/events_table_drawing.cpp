#include "events_table_drawing.h"

#include <algorithm>

namespace vek1 {

namespace {

constexpr int kFontPoints = 8;
// The canvas has no text measure, so a column is sized for its longest text at the widest
// advance of the face's digits and letters at 8 points (11 pixels): 7 pixels.
constexpr int kCharWidth = 7;
constexpr int kCellPadding = 6;
constexpr int kRowHeight = 16;
constexpr int kMargin = 8;
// The title: the set's name, then the laps and how the figures are counted, a line each.
constexpr int kTitleLine = 16;
constexpr int kTitleHeight = 3 * kTitleLine + 4;
// A table of any size is drawn at most this wide or this high; the rest is left out.
constexpr int kMaxSide = 16000;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrid{160, 160, 160};
// As the window marks its cells: a yellow ground where front and rear differ, red text where
// the gear cannot close.
constexpr Rgb kDiffers{255, 240, 120};
constexpr Rgb kError{200, 0, 0};
// With a reference: an orange ground where a figure is apart from the reference's beyond the
// tolerance, grey text on the reference's own row.
constexpr Rgb kBeyondReference{255, 190, 140};
constexpr Rgb kReferenceText{105, 105, 105};

int textWidth(const std::string& text) {
  return cellTextWidth(text, kCharWidth, kMaxSide);
}

std::vector<int> columnWidths(const EventsTableView& view) {
  std::size_t columns = view.header.size();
  for (const auto& row : view.rows) columns = std::max(columns, row.size());
  std::vector<int> widths(columns, 0);
  for (std::size_t c = 0; c < view.header.size(); ++c)
    widths[c] = std::max(widths[c], textWidth(view.header[c]));
  for (const auto& row : view.rows)
    for (std::size_t c = 0; c < row.size(); ++c)
      widths[c] = std::max(widths[c], textWidth(row[c].text));
  for (int& w : widths) w += 2 * kCellPadding;
  return widths;
}

}  // namespace

CanvasSize eventsTablePictureSize(const EventsTableView& view) {
  long long columns = 0;
  for (int w : columnWidths(view)) columns += w;
  const long long width =
      2 * kMargin + std::max({columns, static_cast<long long>(textWidth(view.laps)),
                              static_cast<long long>(textWidth(kEventsConventionText))});
  const long long height =
      2 * kMargin + kTitleHeight + kRowHeight * (static_cast<long long>(view.rows.size()) + 1);
  return {static_cast<int>(std::clamp<long long>(width, 1, kMaxSide)),
          static_cast<int>(std::clamp<long long>(height, 1, kMaxSide))};
}

void drawEventsTable(Canvas& canvas, const EventsTableView& view, const std::string& setName) {
  const CanvasSize size = eventsTablePictureSize(view);
  const std::vector<int> widths = columnWidths(view);
  canvas.clear(Rgb{255, 255, 255});
  canvas.setFontSize(kFontPoints);
  canvas.setFontColour(kBlack);
  canvas.setFontStyle({.bold = true});
  canvas.textOut(kMargin, kMargin, setName);
  canvas.setFontStyle({});
  canvas.textOut(kMargin, kMargin + kTitleLine, view.laps);
  canvas.textOut(kMargin, kMargin + 2 * kTitleLine, kEventsConventionText);
  canvas.setFontStyle({.bold = true});

  const int top = kMargin + kTitleHeight;
  const int rows = std::min<int>(static_cast<int>(view.rows.size()),
                                 (size.height - top - kMargin) / kRowHeight - 1);
  const int bottom = top + kRowHeight * (rows + 1);
  const int right = size.width - kMargin;

  // The rules: under each line, and between the columns.
  canvas.setPenWidth(1);
  canvas.setPenColour(kGrid);
  for (int r = 0; r <= rows + 1; ++r) {
    canvas.moveTo(kMargin, top + r * kRowHeight);
    canvas.lineTo(right + 1, top + r * kRowHeight);
  }
  int x = kMargin;
  for (std::size_t c = 0; c <= widths.size() && x <= right; ++c) {
    canvas.moveTo(x, top);
    canvas.lineTo(x, bottom + 1);
    if (c < widths.size()) x += widths[c];
  }

  const auto cellX = [&](std::size_t column) {
    int at = kMargin;
    for (std::size_t c = 0; c < column && c < widths.size(); ++c) at += widths[c];
    return at + kCellPadding;
  };
  for (std::size_t c = 0; c < view.header.size(); ++c)
    canvas.textOut(cellX(c), top + 2, view.header[c]);
  canvas.setFontStyle({});
  for (int r = 0; r < rows; ++r) {
    const auto& row = view.rows[static_cast<std::size_t>(r)];
    const int y = top + (r + 1) * kRowHeight;
    for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
      const EventsCell& cell = row[c];
      if (cell.differs || cell.beyondReference) {
        // The canvas has outlines only: the ground is laid as one line a pixel row, inside
        // the rules.
        canvas.setPenColour(cell.beyondReference ? kBeyondReference : kDiffers);
        const int left = cellX(c) - kCellPadding + 1;
        for (int dy = 1; dy < kRowHeight; ++dy) {
          canvas.moveTo(left, y + dy);
          canvas.lineTo(left + widths[c] - 1, y + dy);
        }
      }
      canvas.setFontColour(cell.error ? kError : cell.reference ? kReferenceText : kBlack);
      canvas.textOut(cellX(c), y + 2, cell.text);
    }
  }
}

}  // namespace vek1
