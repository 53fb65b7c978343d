// render in a build without Qt: the pictures need its painting, so the command is refused.
#include <ostream>

#include "exit_codes.h"
#include "render.h"

namespace vek1 {

int runRender(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "vek1-cli: render is not part of this build (it needs Qt)\n";
  return kExitUsage;
}

}  // namespace vek1
