#include "render_usage.h"

namespace vek1 {

const char* const kRenderUsage =
    R"(usage: vek1-cli render main|sine|oval|steam|port|events|perf --out FILE.png|svg|pdf [options]
       vek1-cli render main --out FILE.dxf [--angle DEG] [--revarm-offset X] [--notches ...]

Draws one picture of the program without a window or display, with the same drawing the
windows use: main (the mechanism view), sine, oval, steam (the diagrams over the diagram
positions), port (the port events diagram), events (the valve events table as the Valve
Events window exports it) or perf (the Engine Performance window's picture: the indicator
cards, the table and the curves of power and tractive effort, at the set's engine
settings). The format follows the extension of --out. The picture is drawn in memory and written whole: a file that cannot be written (a full disk, a pipe, a device, a
folder or a loop of links in its place) exits with 4 and leaves nothing behind.

main --out FILE.dxf writes the gear as a CAD drawing instead (DXF, AutoCAD R2000): the pivots
as circles, the members as lines, the link as a true arc, the die block's path over a turn as
a closed polyline, the valve, the cylinder and the port face, each part on its own layer
(frame, rods, link, valve, cylinder, ports, paths), in the set's length units.

options:
  --out FILE             the picture to write: .png, .svg or .pdf
  --angle DEG            driver angle of the mechanism view (main; default 0)
  --whole-frame          main: the whole 1280 x 1024 frame; by default the page is the part
                         the drawing covers, with a 16-pixel margin
  --notches OFFSETS      main, .dxf: the die paths at these reverse-arm offsets from the
                         centre (default: the pose's notch alone)
  --units inches|mm|unitless
                         main, .dxf: the unit the header names for the set's lengths
                         (default inches, the factory set's)
  --caption              main: a line at the bottom left naming the set, the notch and the
                         crank angle (the captions of the window's bars are never drawn)
  --positions OFFSETS    the diagram positions as up to nine offsets from the centre,
                         comma-separated, e.g. 0,1.6,-1.6 (sine, oval, steam; default: the
                         saved set's positions, or centre, +Norm, -Norm)
  --graph F|R|B          forward, reverse or both graphs (port; default F)
  --notches OFFSETS      events: up to 100 reverse-arm offsets from the centre, or default
                         (the window's 19 notches, the default); perf: the table's notches
                         (default: the 9 forward notches), the cards at the first, middle
                         and last of them
  --scale F              PNG: F device pixels per drawing pixel, 1 to 8 (default 1); the
                         picture is drawn again at the finer pitch, not enlarged
  --transparent          no background: PNG with a clear ground, SVG and PDF without a fill
  --revarm-offset X      reverse-arm position as an offset from the mid-gear centre
  --revarm H             reverse-arm position as an absolute H (not with --revarm-offset)
  --compare PATH         a set saved in PATH (.dve or .ovk) as the reference: the diagrams draw
                         its curves beneath in a light dashed pen with a legend naming both
                         sets, main its gear as a faint ghost at the same crank angle and
                         notch, events its row and the differences under each notch
  --file PATH            start from the dimension set saved in PATH instead of the factory set
  --set ID=VALUE         set a dimension first; may be repeated (ids 1..18, 101..122)
  --help                 show this text
)";

}  // namespace vek1
