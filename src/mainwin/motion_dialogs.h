#pragma once
// The typed-entry dialogs of the main window: reverse-arm position, driver angle, step angle
// and the graphic zoom factor.

#include "entry_dialog.h"
#include "workspace.h"

namespace vek1 {

class MotionStrip;

// The dialogs that act on the motion strip's controls as well as on the model.
class MotionEntryDialog : public EntryDialog {
  Q_OBJECT
 public:
  MotionEntryDialog(const QString& caption, const QStringList& labels, Workspace& ws,
                    MotionStrip& motion, QWidget* parent)
      : EntryDialog(caption, labels, parent), ws_(ws), motion_(motion) {}

 protected:
  Workspace& ws_;
  MotionStrip& motion_;
};

class TRevPos : public MotionEntryDialog {
  Q_OBJECT
 public:
  TRevPos(Workspace& ws, MotionStrip& motion, QWidget* parent = nullptr);

 protected:
  void FormActivate() override;
  void OKClick() override;
};

class TDrivAng : public MotionEntryDialog {
  Q_OBJECT
 public:
  TDrivAng(Workspace& ws, MotionStrip& motion, QWidget* parent = nullptr);

 protected:
  void FormActivate() override;
  void OKClick() override;
};

class TStpAng : public MotionEntryDialog {
  Q_OBJECT
 public:
  TStpAng(Workspace& ws, MotionStrip& motion, QWidget* parent = nullptr);

 protected:
  void FormActivate() override;
  void OKClick() override;
};

class TGraphZoom : public EntryDialog {
  Q_OBJECT
 public:
  explicit TGraphZoom(Workspace& ws, QWidget* parent = nullptr);

 protected:
  void FormActivate() override;
  void OKClick() override;

 private:
  Workspace& ws_;
};

}  // namespace vek1
