// Arbitrary bytes as a .dve dimension file. A refused file must leave the working set exactly as
// it was and say why; an accepted one must read back the same after a save, and its gear must run.
#include <cstddef>
#include <cstdint>
#include <span>

#include "dimension_file.h"
#include "gear_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vek1::fuzz::checkFileInput(vek1::DecodeDimensionFile, std::span(data, size));
  return 0;
}
