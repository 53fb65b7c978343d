#include "frame_dialog.h"

#include "dialog_texts.h"
#include "dimensions.h"

namespace vek1 {

namespace {

constexpr int kFrameRows = 18;
constexpr int kRowPitch = 13;
// Two columns of rows: the left one holds rows 1 to 8, the right one rows 9 to 18. The small
// buttons stand two pixels in from the edge, or the window's edge cuts their frame.
constexpr int kLeftButtonX = 2, kLeftEditX = 146;
constexpr int kRightButtonX = 196, kRightEditX = 342;
constexpr int kFirstRightRow = 9;

std::vector<DimensionRowPlace> frameRowPlaces() {
  std::vector<DimensionRowPlace> places;
  for (int n = 1; n <= kFrameRows; ++n) {
    // Row n shows dimension n; 17 and 18 are Norm and Max.
    if (n < kFirstRightRow) {
      const int y = kRowPitch * (n - 1);
      places.push_back({n, {kLeftEditX, y}, {kLeftButtonX, y}});
    } else {
      const int y = kRowPitch * (n - kFirstRightRow);
      places.push_back({n, {kRightEditX, y}, {kRightButtonX, y}});
    }
  }
  return places;
}

}  // namespace

TFrameDi::TFrameDi(Workspace& ws, QWidget* parent)
    : DimensionDialog(ws, QStringLiteral("Frame Dimensions"), QSize(386, 192),
                      QRect(288, 160, 89, 25), parent) {
  addRows(frameRowPlaces());
  ResetFrame = makeResetButton(
      QStringLiteral("ResetFrameDim"), QRect(288, 132, 89, 25), [this] { ResetFrameMouseDown(); },
      [this] { ResetFrameClick(); });

  std::vector<QWidget*> chain{edit(1), edit(2), edit(3), Close1, ResetFrame};
  for (int n = 4; n <= kFrameRows; ++n) chain.push_back(edit(n));
  for (int n = 1; n <= kFrameRows; ++n) chain.push_back(button(n));
  setTabChain(chain);
}

void TFrameDi::reset(bool clearUndo) {
  ResetFrameDimensions(ws_, clearUndo);
  emit reverseArmRangeChanged();
  FormActivate();
}

void TFrameDi::ResetFrameClick() {
  reset(true);
}

void TFrameDi::ResetFrameMouseDown() {
  reset(false);
}

void TFrameDi::drawTexts(Canvas& canvas) const {
  drawFrameDialogTexts(canvas, ws_);
}

}  // namespace vek1
