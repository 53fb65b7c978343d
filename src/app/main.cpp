// vek1: the valve gear simulator. Creates the one Workspace, then the main window.
#include <QApplication>
#include <QMainWindow>

#include "dimensions.h"
#include "workspace.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vek1::Workspace workspace;
  vek1::StartUp(workspace);

  QMainWindow window;
  window.setWindowTitle(QString::fromStdString("VEK1 Outside Admission            " +
                                               workspace.DimSetName));
  window.resize(632, 380);
  window.show();
  return app.exec();
}
