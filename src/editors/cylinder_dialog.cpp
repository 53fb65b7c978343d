#include "cylinder_dialog.h"

#include "dialog_texts.h"
#include "dimensions.h"

namespace vek1 {

namespace {

constexpr int kCylinderRows = 22;

// Row n shows dimension 100 + n. Rows 6 and 22 have two-line labels: their buttons stay on the
// first line, their fields sit beside the second. The small buttons stand two pixels in from the
// edge, or the window's edge cuts their frame.
const DimensionRowPlace kPlaces[kCylinderRows] = {
    {101, {146, 0}, {2, 0}},       {102, {146, 13}, {2, 13}},   {103, {146, 26}, {2, 26}},
    {104, {146, 39}, {2, 39}},     {105, {146, 52}, {2, 52}},   {106, {146, 78}, {2, 65}},
    {107, {146, 91}, {2, 91}},     {108, {146, 104}, {2, 104}}, {109, {146, 117}, {2, 117}},
    {110, {146, 130}, {2, 130}},   {111, {146, 143}, {2, 143}}, {112, {146, 156}, {2, 156}},
    {113, {342, 0}, {196, 0}},     {114, {342, 13}, {196, 13}}, {115, {342, 26}, {196, 26}},
    {116, {342, 39}, {196, 39}},   {117, {342, 52}, {196, 52}}, {118, {342, 65}, {196, 65}},
    {119, {342, 78}, {196, 78}},   {120, {342, 91}, {196, 91}}, {121, {342, 104}, {196, 104}},
    {122, {342, 130}, {196, 117}},
};

// The tab order runs down the left column and the top of the right one, then the buttons, and
// reaches the lower right fields last.
constexpr int kLastEarlyRow = 17;

}  // namespace

TCylDimen::TCylDimen(Workspace& ws, QWidget* parent)
    : DimensionDialog(ws, QStringLiteral("Cylinder Dimensions"), QSize(386, 230),
                      QRect(294, 192, 90, 25), parent) {
  addRows(kPlaces);
  Reset1 = makeResetButton(
      QStringLiteral("ResetCylDim"), QRect(294, 164, 90, 25), [this] { Reset1MouseDown(); },
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
