// Arbitrary bytes as an older .ovk file. A refused file must leave the working set as it was; an
// imported one must save and reopen as the same set, and its gear must run.
#include <cstddef>
#include <cstdint>
#include <span>

#include "dimension_file.h"
#include "gear_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vek1::fuzz::checkFileInput(vek1::DecodeDosDimensionFile, std::span(data, size));
  return 0;
}
