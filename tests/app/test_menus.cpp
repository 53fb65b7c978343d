// The main window's menus and tool bar as the user finds them: the five menus in their order,
// every item with its caption and accelerator in its place, the separators between the groups,
// the hidden error picture, and the tool buttons with their hints. Items that other commands
// add may stand between these; the ones below must all be there, in this order.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <string>
#include <vector>

#include "recording_sound.h"
#include "main_form.h"
#include "sound.h"
#include "workspace.h"

namespace vek1 {
namespace {

const QString kSeparator = QStringLiteral("|");

struct Menu {
  QString title;
  std::vector<QString> items;  // kSeparator where a separator stands
};

// Captions as they read at start-up: every switch is off, the screen data is shown.
const std::vector<Menu> kMenus = {
    {"&File",
     {"&OpenDimensions", "Open&DosDimensions", "Save&AsDimensions", "Export DX&F...",
      "Design &Report...", kSeparator, "E&xit"}},
    {"&SetUp",
     {"Set&RevArmPos", "Set&DriverAng", "Set&StepAng", "SetRef&Points", kSeparator,
      "SetLarge&Font", "&CalcCentRevArm", "SetS&teamDisp On", "Set&ErrorBeep Off",
      "Set&LineWidth 2", "SetScree&nData Off", "SetP&anZoom On"}},
    {"&EditDimen",
     {"&FrameDimensions", "&CylinderDimensions", kSeparator, "Set&GraphicZoom", kSeparator,
      "&ResetAllDimensions", "&ReferPoints", "&DrawLinesCircles", "Pi&votData", "D&ynamicVari",
      "&UnDo"}},
    {"Draw&Graphs", {"&SineDiagram", "&OvalDiagram", "S&teamDiagram", "&PortOpenClose"}},
    {"&Help", {"&Instructions", "Instructions&Special", kSeparator, "&About"}},
};

const std::vector<QString> kToolHints = {
    "Open File: Dimensional Data",
    "Save As: Dimensional Data",
    kSeparator,
    "Change Frame Dimensions",
    "Change Cylinder Dimensions",
    kSeparator,
    "Set Driver Angle to Desired Position",
    "Set Step Angle to Desired Amount",
    "Set Reverse Arm to Desired Position",
    kSeparator,
    "Calculate Mid Gear Position if Necessary",
    kSeparator,
    "Turn On Steam Display and Sound",
    kSeparator,
    "Turn On Reference Points",
    "Draw Lines and Circles",
    "Turn On Pivot Data",
    "Turn On Dynamic Variables",
    "Turn On UnDo",
    kSeparator,
    "View Sine Diagram",
    "View Oval Diagram",
    "View Steam Diagram",
    "View Port Events vs Reverse Arm Position",
};

// The actions as a list of texts, separators as kSeparator.
std::vector<QString> texts(const QList<QAction*>& actions, bool hints) {
  std::vector<QString> out;
  for (const QAction* a : actions) out.push_back(a->isSeparator() ? kSeparator
                                                 : hints           ? a->toolTip()
                                                                   : a->text());
  return out;
}

// Finds `expected` in `actual` in order; a separator expected between two entries must stand
// somewhere between them. Returns what is missing or out of place, empty when all is well.
std::string missing(const std::vector<QString>& expected, const std::vector<QString>& actual) {
  std::size_t at = 0;
  bool separatorDue = false;
  for (const QString& want : expected) {
    if (want == kSeparator) {
      separatorDue = true;
      continue;
    }
    bool separatorSeen = false;
    while (at < actual.size() && actual[at] != want) separatorSeen |= actual[at++] == kSeparator;
    if (at == actual.size()) return "\"" + want.toStdString() + "\" missing or out of order";
    if (separatorDue && !separatorSeen)
      return "no separator before \"" + want.toStdString() + "\"";
    separatorDue = false;
    ++at;
  }
  return {};
}

class MainMenus : public ::testing::Test {
 protected:
  void SetUp() override { form.Timer1->stop(); }
  Workspace ws;
  RecordingSoundSink sound;
  TMainForm form{ws, sound};
};

TEST_F(MainMenus, FiveMenusWithTheirItemsAndSeparatorsThenTheHiddenErrorPicture) {
  const QList<QAction*> top = form.menuBar()->actions();
  ASSERT_EQ(top.size(), 6);
  for (std::size_t m = 0; m < kMenus.size(); ++m) {
    QAction* entry = top[static_cast<qsizetype>(m)];
    EXPECT_EQ(entry->text(), kMenus[m].title);
    ASSERT_NE(entry->menu(), nullptr) << kMenus[m].title.toStdString();
    const std::vector<QString> items = texts(entry->menu()->actions(), false);
    EXPECT_EQ(missing(kMenus[m].items, items), "") << kMenus[m].title.toStdString();
    // Every described separator is where it is described, and no menu starts or ends with one.
    EXPECT_NE(items.front(), kSeparator);
    EXPECT_NE(items.back(), kSeparator);
  }
  // The menus the user opens by their letters: File, SetUp, EditDimen, Graphs, Help.
  const QString letters = "FSEGH";
  for (int m = 0; m < 5; ++m) {
    const QString title = top[m]->text();
    EXPECT_EQ(title.at(title.indexOf('&') + 1).toUpper(), letters.at(m));
  }
  QAction* error = top[5];
  EXPECT_EQ(error->menu(), nullptr);
  EXPECT_TRUE(error->text().isEmpty());
  EXPECT_FALSE(error->icon().isNull());
  EXPECT_FALSE(error->isVisible());
}

TEST_F(MainMenus, SwitchesShowTheActionTheNextClickPerforms) {
  auto item = [&](int menu, const QString& caption) -> QAction* {
    for (QAction* a : form.menuBar()->actions()[menu]->menu()->actions())
      if (a->text() == caption) return a;
    return nullptr;
  };
  QAction* lineWidth = item(1, "Set&LineWidth 2");
  ASSERT_NE(lineWidth, nullptr);
  lineWidth->trigger();
  EXPECT_EQ(lineWidth->text(), "Set&LineWidth 1");
  QAction* beep = item(1, "Set&ErrorBeep Off");
  ASSERT_NE(beep, nullptr);
  beep->trigger();
  EXPECT_EQ(beep->text(), "Set&ErrorBeep On");
  QAction* font = item(1, "SetLarge&Font");
  ASSERT_NE(font, nullptr);
  font->trigger();
  EXPECT_EQ(font->text(), "SetSmall&Font");
  // The pan and zoom bars can only be shown alone while the strip is hidden.
  EXPECT_FALSE(item(1, "SetP&anZoom On")->isEnabled());
  // Lines and circles wait for the reference points.
  EXPECT_FALSE(item(2, "&DrawLinesCircles")->isEnabled());
}

TEST_F(MainMenus, ToolBarGroupsAndHints) {
  const QList<QToolBar*> bars = form.findChildren<QToolBar*>();
  ASSERT_EQ(bars.size(), 1);
  const std::vector<QString> hints = texts(bars[0]->actions(), true);
  EXPECT_EQ(missing(kToolHints, hints), "");
  for (const QAction* a : bars[0]->actions()) {
    if (!a->isSeparator()) {
      EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
    }
    // A tool button is disabled with its menu item.
    if (a->toolTip() == "Draw Lines and Circles") {
      EXPECT_FALSE(a->isEnabled());
    }
  }
}

}  // namespace
}  // namespace vek1
