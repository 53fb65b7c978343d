#include "render_usage.h"

namespace vek1 {

const char* const kRenderUsage =
    R"(usage: vek1-cli render main|sine|oval|steam|port --out FILE.png|svg|pdf [options]

Draws one picture of the program without a window or display, with the same drawing the
windows use: main (the mechanism view), sine, oval, steam (the diagrams over the diagram
positions) or port (the port events diagram). The format follows the extension of --out.

options:
  --out FILE             the picture to write: .png, .svg or .pdf
  --angle DEG            driver angle of the mechanism view (main; default 0)
  --positions OFFSETS    the diagram positions as up to nine offsets from the centre,
                         comma-separated, e.g. 0,1.6,-1.6 (sine, oval, steam; default: the
                         saved set's positions, or centre, +Norm, -Norm)
  --graph F|R|B          forward, reverse or both graphs (port; default F)
  --revarm-offset X      reverse-arm position as an offset from the mid-gear centre
  --revarm H             reverse-arm position as an absolute H (not with --revarm-offset)
  --file PATH            start from the dimension set saved in PATH instead of the factory set
  --set ID=VALUE         set a dimension first; may be repeated (ids 1..18, 101..122)
  --help                 show this text
)";

}  // namespace vek1
