// vek1: the valve gear simulator. Creates the one Workspace, the main window (which starts the
// model), then every other window once, in the program's fixed order, and runs the event loop.
#include <QApplication>

#include "compare_menu.h"
#include "cylinder_dialog.h"
#include "data_table_window.h"
#include "diagram_windows.h"
#include "frame_dialog.h"
#include "help_windows.h"
#include "lines_dialog.h"
#include "main_form.h"
#include "main_view_links.h"
#include "motion_dialogs.h"
#include "ref_points_dialog.h"
#include "reference_set.h"
#include "set_rev_arm_dialog.h"
#include "sound.h"
#include "tune_window.h"
#include "valve_events_window.h"
#include "workspace.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vek1::Workspace workspace;
  // Destroyed before the application, as Qt's sound effects need.
  vek1::QtSoundSink sound;
  sound.preload(QStringLiteral("Exhaust.wav"));
  sound.preload(QStringLiteral("Error.wav"));

  vek1::TMainForm mainForm(workspace, sound);
  // The positions dialog comes first here because the diagrams that ask for it hold it.
  vek1::TSetRevArm setRevArm(workspace, &mainForm);
  vek1::TDrivAng drivAng(workspace, *mainForm.motionStrip, &mainForm);
  vek1::TOvalDia ovalDia(workspace, &setRevArm, &mainForm);
  vek1::TPortDia portDia(workspace, &mainForm);
  vek1::TRefPnts refPnts(workspace, &mainForm);
  vek1::TRevPos revPos(workspace, *mainForm.motionStrip, &mainForm);
  vek1::TSineDia sineDia(workspace, &setRevArm, &mainForm);
  vek1::TSteamDia steamDia(workspace, &setRevArm, &mainForm);
  vek1::TStpAng stpAng(workspace, *mainForm.motionStrip, &mainForm);
  vek1::TAboutBox aboutBox(&mainForm);
  // The instruction windows read their texts now; a missing one is reported once, here.
  vek1::TInst inst(vek1::messageBoxReporter(&mainForm), &mainForm);
  vek1::TVeOSpInst veOSpInst(vek1::messageBoxReporter(&mainForm), &mainForm);
  vek1::TFrameDi frameDi(workspace, &mainForm);
  vek1::TCylDimen cylDimen(workspace, &mainForm);
  vek1::TGraphZoom graphZoom(workspace, &mainForm);
  vek1::TDrawLines drawLines(workspace, sound, &mainForm);
  vek1::TDataTable dataTable(workspace, &mainForm);
  vek1::TValveEvents valveEvents(workspace, &mainForm);
  vek1::TTuneDesign tuneDesign(workspace, &mainForm);
  for (vek1::DiagramWindow* w :
       {static_cast<vek1::DiagramWindow*>(&sineDia), static_cast<vek1::DiagramWindow*>(&ovalDia),
        static_cast<vek1::DiagramWindow*>(&steamDia), static_cast<vek1::DiagramWindow*>(&portDia)})
    vek1::linkToMainView(mainForm, *w);
  vek1::linkToMainView(mainForm, frameDi);
  vek1::linkToMainView(mainForm, cylDimen);
  mainForm.setDialogs(&drivAng, &revPos, &stpAng, &graphZoom);
  mainForm.setHelpWindows(&inst, &veOSpInst, &aboutBox);
  mainForm.setDiagrams(&sineDia, &ovalDia, &steamDia, &portDia);
  mainForm.setReferenceWindows(&refPnts, &dataTable);
  mainForm.setEventsWindow(&valveEvents);
  mainForm.setOverlayDialog(&drawLines, [&drawLines] { drawLines.DimensionFileOpened(); });
  mainForm.setDimensionDialogs(
      &frameDi, &cylDimen, [&frameDi] { frameDi.ResetFrameClick(); },
      [&cylDimen] { cylDimen.ResetCylClick(); });

  mainForm.setTuneWindow(&tuneDesign);

  // The set to compare with, read from a file and never written: the events table, the four
  // diagrams and the main view's ghost show it beside the working set.
  vek1::ReferenceSet reference;
  vek1::CompareMenu compareMenu(reference, mainForm.FileMenu, mainForm.ExportPicture,
                                mainForm.SetUpMenu, &mainForm);
  mainForm.ghostSet = [&reference] { return reference.ghost(); };
  mainForm.referenceSet = [&reference] { return reference.set(); };
  valveEvents.setReference(&reference);
  for (vek1::DiagramWindow* diagram :
       std::initializer_list<vek1::DiagramWindow*>{&sineDia, &ovalDia, &steamDia, &portDia})
    diagram->setReference(&reference);
  // Applied values move the mid-gear centre; the reverse arm keeps its notch against the new one.
  tuneDesign.setAfterApply([&mainForm] {
    mainForm.motionStrip->SBRevArmChange(mainForm.motionStrip->SBRevArm->value());
  });

  mainForm.markSaved();
  mainForm.show();
  return app.exec();
}
