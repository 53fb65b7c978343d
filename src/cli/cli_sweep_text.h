#pragma once
// The rows of `vek1-cli sweep` as CSV or JSON: the same fields in the same order in both, so a
// script can switch formats without renaming anything.

#include <iosfwd>
#include <utility>
#include <vector>

#include "workspace.h"

namespace vek1::cli {

// Every single-valued field of a pose by name, in the order pose and sweep print them: the
// driver angle and reverse arm, the angles, the piston and openings, the port constants and the
// centre (the pivots and Error are written apart).
std::vector<std::pair<const char*, float>> poseFields(const Workspace& ws);
// The port constants by name, in the order pose and sweep print them.
std::vector<std::pair<const char*, float>> portFields(const Workspace& ws);

enum class TableFormat { Csv, Json };

// Writes the header when made (the names only are taken from `ws`), one row per call of row(), and
// what closes the table at finish(). CSV: a header line, then one line per row, Error as
// true/false. JSON:
// {"Rows": [{...}, ...]}, one object per line, each pivot as {"H": .., "V": ..}, a value that is
// not a number as null.
class SweepWriter {
 public:
  SweepWriter(std::ostream& out, TableFormat format, const Workspace& ws);
  // The pose of `ws` as the solver and the valve model left it; `error`: the latch was raised.
  void row(const Workspace& ws, bool error);
  void finish();

 private:
  std::ostream& out_;
  TableFormat format_;
  bool first_ = true;
};

}  // namespace vek1::cli
