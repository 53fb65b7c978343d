#pragma once
// The step rule of the auto-centring scroll bars (dynamic variables, pan and zoom): the bar
// always springs back to 0, so the step is derived from its new position and the positions seen
// at its previous two change notifications.

#include "workspace.h"

namespace vek1 {

// The signed number of bar units to apply for the new position p (last = the position at the
// previous notification, prev = the one before): an arrow or page click applies its own size in
// its direction, a drag its distance from the centre, signed by the way it moved. `page` is the
// bar's large change: a jump of exactly that size is taken for a page click.
inline long long autoCentreCount(int p, int last, int prev, int page = 10) {
  const long long pp = p;
  // Each rule overrides the ones before it when it applies.
  long long count = 0;
  if (p > 0 && prev < p) count = pp;
  if (p < 0 && prev < p) count = -pp;
  if (p < 0 && p < prev) count = pp;
  if (p > 0 && p < prev) count = -pp;
  const long long jump = pp - last;
  if (jump == 1 || jump == -1 || jump == page || jump == -page) count = pp;
  return count;
}

inline void remember(AutoCentreMemory& memory, int p) {
  memory.Prev = memory.Last;
  memory.Last = p;
}

}  // namespace vek1
