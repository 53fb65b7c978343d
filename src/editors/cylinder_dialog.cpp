#include "cylinder_dialog.h"

#include "dialog_texts.h"
#include "dimensions.h"

namespace vek1 {

namespace {

constexpr int kCylinderRows = 22;
constexpr int kFirstId = 100;  // row n shows dimension 100 + n

// Row n's edit and button, as (edit x, edit y, button x, button y). Rows 6 and 22 have two-line
// labels: their buttons stay on the first line, their fields sit on the second.
constexpr int kPlaces[kCylinderRows][4] = {
    {146, 0, 0, 0},       {146, 13, 0, 13},     {146, 26, 0, 26},   {146, 39, 0, 39},
    {146, 52, 0, 52},     {146, 78, 0, 65},     {146, 91, 0, 91},   {146, 104, 0, 104},
    {146, 117, 0, 117},   {146, 130, 0, 130},   {146, 143, 0, 143}, {146, 156, 0, 156},
    {342, 0, 194, 0},     {342, 13, 194, 13},   {342, 26, 194, 26}, {342, 39, 194, 39},
    {342, 52, 194, 52},   {342, 65, 194, 65},   {342, 78, 194, 78}, {342, 91, 194, 91},
    {342, 104, 194, 104}, {342, 130, 194, 117},
};

// The tab order runs down the left column and the top of the right one, then the buttons, and
// reaches the lower right fields last.
constexpr int kLastEarlyRow = 17;

}  // namespace

TCylDimen::TCylDimen(Workspace& ws, TMainForm& main, QWidget* parent)
    : DimensionDialog(ws, main, QStringLiteral("Cylinder Dimensions"), QSize(386, 230),
                      QRect(294, 192, 90, 25), parent) {
  std::vector<DimensionRowPlace> places;
  for (int n = 1; n <= kCylinderRows; ++n) {
    const auto& p = kPlaces[n - 1];
    places.push_back({kFirstId + n, {p[0], p[1]}, {p[2], p[3]}});
  }
  addRows(places);
  Reset1 = makeResetButton(
      QStringLiteral("ResetCylDim"), QRect(294, 168, 90, 25), [this] { Reset1MouseDown(); },
      [this] { ResetCylClick(); });

  std::vector<QWidget*> chain;
  for (int n = 1; n <= kLastEarlyRow; ++n) chain.push_back(edit(n));
  chain.push_back(Close1);
  chain.push_back(Reset1);
  for (int n = 1; n <= kLastEarlyRow; ++n) chain.push_back(button(n));
  for (int n = kLastEarlyRow + 1; n <= kCylinderRows; ++n) chain.push_back(edit(n));
  for (int n = kLastEarlyRow + 1; n <= kCylinderRows; ++n) chain.push_back(button(n));
  setTabChain(chain);
}

void TCylDimen::reset(bool clearUndo) {
  ResetCylinderDimensions(ws_, clearUndo);
  FormActivate();
}

void TCylDimen::ResetCylClick() {
  reset(true);
}

void TCylDimen::Reset1MouseDown() {
  reset(false);
}

void TCylDimen::drawTexts(Canvas& canvas) const {
  drawCylinderDialogTexts(canvas, ws_);
}

}  // namespace vek1
