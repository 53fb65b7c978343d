#pragma once
// The factory set as the program starts with it, for the tests that begin from it.

#include "dimensions.h"
#include "workspace.h"

namespace vek1::test {

inline Workspace startedSet() {
  Workspace ws;
  StartUp(ws);
  return ws;
}

}  // namespace vek1::test
