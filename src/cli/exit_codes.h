#pragma once
// Exit codes of vek1-cli, one per kind of failure, so that a script can tell them apart.

namespace vek1 {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;  // the command line is wrong
constexpr int kExitInput = 3;  // a file to read could not be read
constexpr int kExitWrite = 4;  // the output could not be written

}  // namespace vek1
