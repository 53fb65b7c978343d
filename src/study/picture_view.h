#pragma once
// A widget that shows a picture drawn through the Canvas, at the picture's own size (put it in
// a scroll area): the studies' windows show on screen exactly what they export and print.

#include <QWidget>

#include "picture_export.h"

namespace vek1 {

class PictureView : public QWidget {
 public:
  explicit PictureView(QWidget* parent = nullptr) : QWidget(parent) {}
  // The picture to show from now on; repaints.
  void show(CanvasSize size, DrawPicture draw);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  DrawPicture draw_;
};

}  // namespace vek1
