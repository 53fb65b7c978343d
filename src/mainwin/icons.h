#pragma once
// The small pictures of the menu and tool bar, drawn by the program itself.

#include <QIcon>

namespace vek1::icons {

QIcon driverAngle();  // a wheel with its crank
QIcon stepAngle();    // an arc with a step mark
QIcon reverseArm();   // a lever on its pivot
QIcon midGear();      // a lever standing upright over a centre mark
QIcon steam();        // a puff of steam
QIcon error();        // a red warning sign with "!"
QIcon frameDimensions();     // a rod with a dimension arrow
QIcon cylinderDimensions();  // a cylinder with a dimension arrow
QIcon dynamicVariables();    // a scroll bar with its thumb at the centre
QIcon undo();                // a curved arrow back
QIcon referencePoints();     // two crosses
QIcon pivotData();
QIcon linesAndCircles();     // a line and a circle           // a small table
QIcon sineDiagram();         // a wave over an axis
QIcon ovalDiagram();         // a closed loop
QIcon steamDiagram();        // an indicator card
QIcon portDiagram();         // lines fanning out over rows
QIcon valveEvents();         // a table with one cell marked
QIcon open();                // an opening folder
QIcon save();                // a disk

}  // namespace vek1::icons
