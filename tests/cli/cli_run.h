#pragma once
// Runs vek1-cli's entry point in process with string streams, for the command tests.
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"

namespace vek1::testing {

struct Result {
  int code;
  std::string out, err;
};

inline Result run(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int code = vek1::runCli(args, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace vek1::testing
