// Arbitrary bytes as a .dve dimension file. A refused file must leave the working set exactly as
// it was and say why; an accepted one must read back the same after a save, and its gear must run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "dimension_file.h"
#include "dimensions.h"
#include "gear_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vek1;
  Workspace ws;
  StartUp(ws);
  const Workspace before = ws;
  const DimensionFileResult r = DecodeDimensionFile(std::span(data, size), ws);
  if (!r.ok) {
    if (r.message.empty()) {
      std::fprintf(stderr, "refused without a message\n");
      std::abort();
    }
    fuzz::checkSameFile(ws, before, "a refused file changed the working set");
    return 0;
  }
  // What the program saves of an accepted set opens to the same set.
  Workspace reopened;
  StartUp(reopened);
  if (!DecodeDimensionFile(EncodeDimensionFile(ws), reopened).ok) {
    std::fprintf(stderr, "a saved set was refused on opening\n");
    std::abort();
  }
  fuzz::checkSameFile(ws, reopened, "a saved set opened to a different set");
  fuzz::checkGearRuns(ws);
  return 0;
}
