#pragma once
// What every fuzz target asks of a working set that was accepted: it runs. The gear is solved at
// a handful of driver angles and reverse-arm positions, as the animation and the diagrams do, and
// every pose, every port constant and the valve state must be finite. A failure aborts, which
// libFuzzer reports with the input that caused it.

#include <cstddef>
#include <cstdint>
#include <span>

#include "dimension_file.h"
#include "workspace.h"

namespace vek1::fuzz {

// Aborts with a line on stderr naming what was not finite.
void checkGearRuns(Workspace ws);

// Aborts unless the two sets encode to the same file, byte for byte.
void checkSameFile(const Workspace& a, const Workspace& b, const char* what);

using FileDecoder = DimensionFileResult (*)(std::span<const std::uint8_t>, Workspace&);

// One fuzz input as a file that `decode` reads into the factory set. Refused, it must say why and
// leave the set as it was; accepted, the set must save and reopen as itself, and its gear run.
void checkFileInput(FileDecoder decode, std::span<const std::uint8_t> bytes);

}  // namespace vek1::fuzz
