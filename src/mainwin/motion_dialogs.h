#pragma once
// The typed-entry dialogs of the main window: reverse-arm position, driver angle, step angle
// and the graphic zoom factor.

#include "entry_dialog.h"
#include "workspace.h"

namespace vek1 {

class TMainForm;

// The dialogs that act on the main window's controls as well as on the model.
class MainFormEntryDialog : public EntryDialog {
  Q_OBJECT
 public:
  MainFormEntryDialog(const QString& caption, const QStringList& labels, Workspace& ws,
                      TMainForm& main, QWidget* parent)
      : EntryDialog(caption, labels, parent), ws_(ws), main_(main) {}

 protected:
  Workspace& ws_;
  TMainForm& main_;
};

class TRevPos : public MainFormEntryDialog {
  Q_OBJECT
 public:
  TRevPos(Workspace& ws, TMainForm& main, QWidget* parent = nullptr);

 protected:
  void FormActivate() override;
  void OKClick() override;
};

class TDrivAng : public MainFormEntryDialog {
  Q_OBJECT
 public:
  TDrivAng(Workspace& ws, TMainForm& main, QWidget* parent = nullptr);

 protected:
  void FormActivate() override;
  void OKClick() override;
};

class TStpAng : public MainFormEntryDialog {
  Q_OBJECT
 public:
  TStpAng(Workspace& ws, TMainForm& main, QWidget* parent = nullptr);

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
