#pragma once
// The exit codes of vek1-cli, in one place: the runner returns them, --help and the README
// document them, and the tests and the argument fuzzer accept exactly these.

#include <array>

namespace vek1 {

constexpr int kExitOk = 0;     // the command ran and its output was written
constexpr int kExitNoClosingSet = 1;  // tune: no set in the bounds closes and keeps the limits
constexpr int kExitUsage = 2;  // the command line is wrong
constexpr int kExitInput = 3;  // a file named on the command line cannot be read or is damaged
constexpr int kExitWrite = 4;  // the output could not be written

// Every code a run may end with.
constexpr std::array<int, 5> kExitCodes = {kExitOk, kExitNoClosingSet, kExitUsage, kExitInput,
                                           kExitWrite};

constexpr bool isDocumentedExitCode(int code) {
  for (int c : kExitCodes)
    if (c == code) return true;
  return false;
}

}  // namespace vek1
