#pragma once
// The typed-entry dialogs of the main window: reverse-arm position, driver angle, step angle
// and the graphic zoom factor.

#include "entry_dialog.h"
#include "workspace.h"

namespace vek1 {

class TMainForm;

class TRevPos : public EntryDialog {
  Q_OBJECT
 public:
  TRevPos(Workspace& ws, TMainForm& main, QWidget* parent = nullptr);

 protected:
  void FormActivate() override;
  void OKClick() override;

 private:
  Workspace& ws_;
  TMainForm& main_;
};

class TDrivAng : public EntryDialog {
  Q_OBJECT
 public:
  TDrivAng(Workspace& ws, TMainForm& main, QWidget* parent = nullptr);

 protected:
  void FormActivate() override;
  void OKClick() override;

 private:
  Workspace& ws_;
  TMainForm& main_;
};

class TStpAng : public EntryDialog {
  Q_OBJECT
 public:
  TStpAng(Workspace& ws, TMainForm& main, QWidget* parent = nullptr);

 protected:
  void FormActivate() override;
  void OKClick() override;

 private:
  Workspace& ws_;
  TMainForm& main_;
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
