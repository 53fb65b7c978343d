// Arbitrary bytes as an older .ovk file. A refused file must leave the working set as it was; an
// imported one must save and reopen as the same set, and its gear must run.
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
  const DimensionFileResult r = DecodeDosDimensionFile(std::span(data, size), ws);
  if (!r.ok) {
    if (r.message.empty()) {
      std::fprintf(stderr, "refused without a message\n");
      std::abort();
    }
    fuzz::checkSameFile(ws, before, "a refused file changed the working set");
    return 0;
  }
  Workspace reopened;
  StartUp(reopened);
  if (!DecodeDimensionFile(EncodeDimensionFile(ws), reopened).ok) {
    std::fprintf(stderr, "an imported set was refused on opening after a save\n");
    std::abort();
  }
  fuzz::checkSameFile(ws, reopened, "an imported set saved and opened to a different set");
  fuzz::checkGearRuns(ws);
  return 0;
}
