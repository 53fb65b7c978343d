#pragma once
// Every window of the program, made as the program makes them at start-up, for the tests that
// look at all of them at once.
#include <QWidget>
#include <memory>
#include <vector>

#include "cylinder_dialog.h"
#include "data_table_window.h"
#include "diagram_windows.h"
#include "frame_dialog.h"
#include "help_windows.h"
#include "lines_dialog.h"
#include "main_form.h"
#include "main_view_links.h"
#include "motion_dialogs.h"
#include "recording_sound.h"
#include "ref_points_dialog.h"
#include "set_rev_arm_dialog.h"
#include "sound.h"
#include "valve_events_window.h"
#include "workspace.h"

namespace vek1 {

struct AllWindows {
  AllWindows()
      : main(ws, sound),
        setRevArm(ws, &main),
        drivAng(ws, *main.motionStrip, &main),
        ovalDia(ws, &setRevArm, &main),
        portDia(ws, &main),
        refPnts(ws, &main),
        revPos(ws, *main.motionStrip, &main),
        sineDia(ws, &setRevArm, &main),
        steamDia(ws, &setRevArm, &main),
        stpAng(ws, *main.motionStrip, &main),
        aboutBox(&main),
        inst(ignore, &main),
        veOSpInst(ignore, &main),
        frameDi(ws, &main),
        cylDimen(ws, &main),
        graphZoom(ws, &main),
        drawLines(ws, sound, &main),
        dataTable(ws, &main),
        valveEvents(ws, &main) {
    for (DiagramWindow* w :
         std::initializer_list<DiagramWindow*>{&ovalDia, &portDia, &sineDia, &steamDia})
      linkToMainView(main, *w);
    linkToMainView(main, frameDi);
    linkToMainView(main, cylDimen);
    main.Timer1->stop();
  }

  std::vector<QWidget*> windows() {
    return {&main,     &setRevArm, &drivAng,   &ovalDia,   &portDia,    &refPnts,   &revPos,
            &sineDia,  &steamDia,  &stpAng,    &aboutBox,  &inst,       &veOSpInst, &frameDi,
            &cylDimen, &graphZoom, &drawLines, &dataTable, &valveEvents};
  }

  Workspace ws;
  RecordingSoundSink sound;
  HelpReporter ignore = [](const QString&) {};
  TMainForm main;
  TSetRevArm setRevArm;
  TDrivAng drivAng;
  TOvalDia ovalDia;
  TPortDia portDia;
  TRefPnts refPnts;
  TRevPos revPos;
  TSineDia sineDia;
  TSteamDia steamDia;
  TStpAng stpAng;
  TAboutBox aboutBox;
  TInst inst;
  TVeOSpInst veOSpInst;
  TFrameDi frameDi;
  TCylDimen cylDimen;
  TGraphZoom graphZoom;
  TDrawLines drawLines;
  TDataTable dataTable;
  TValveEvents valveEvents;
};

}  // namespace vek1
