#pragma once
// Which dimension moves which valve event, and by how much: the derivative of every event at a
// notch with respect to every dimension, by central differences of the event finder on copies
// of the working set. The caller's set is never changed.

#include <array>
#include <functional>
#include <string_view>
#include <vector>

#include "valve_events.h"
#include "workspace.h"

namespace vek1 {

// The figures a derivative is taken of, in this order. Events are in percent of the stroke from
// their own end's dead centre (percentFromDeadCentre, which runs on through dead centre instead
// of jumping from 100 to 0), the leads and the valve travel in length units, the closure margin
// in degrees. The admission is the exception: it comes so near dead centre that the piston
// hardly moves there, so its percent of stroke is flat to first order and a difference of it
// measures the curvature of the crank's motion more than the gear. It is in degrees of crank
// angle, as the Valve Events window shows it.
enum EventFigure : int {
  kFrontLead, kFrontAdmission, kFrontCutOff, kFrontRelease, kFrontCompression,
  kRearLead, kRearAdmission, kRearCutOff, kRearRelease, kRearCompression,
  kValveTravel, kClosureMargin,
  kEventFigureCount
};
// Figures of one notch; NaN where the event does not happen (or falls where the gear locks).
using EventFigures = std::array<double, kEventFigureCount>;

// "Front.CutOff", "ValveTravel", ...: the keys of the command line's JSON and CSV.
std::string_view eventFigureKey(int figure);
// "F cut-off", "Valve travel", ...: the window's column heads.
std::string_view eventFigureLabel(int figure);
// The figure a key names, or -1.
int eventFigureByKey(std::string_view key);
// Leads and the valve travel are lengths; the events are percent of stroke; the margin degrees.
bool isLengthFigure(int figure);

EventFigures eventFigures(const NotchEvents& n);

// A derivative of every figure, with the step it settled at. Stable: halving the step changed
// the figure's derivative by under 1 % (or by less than the event finder can resolve at that
// step). NaN where the figure does not exist on one side of the step.
struct FigureDerivative {
  EventFigures PerUnit{};
  std::array<bool, kEventFigureCount> Stable{};
  double Step = 0.0;  // the last step tried, in the units of the varied quantity
};

// Figures after the varied quantity was moved by `delta`, together with the move that was
// actually made (a dimension is a single, so v + delta is rounded).
struct MovedFigures {
  EventFigures Figures{};
  double Moved = 0.0;
};
using FiguresAfterMove = std::function<MovedFigures(double delta)>;

// Central differences at `firstStep`, then at half of it, and so on, until every figure's
// derivative settles or the step has been halved kMaxHalvings times. Each figure keeps the value
// from the step at which it settled.
constexpr int kMaxHalvings = 6;
FigureDerivative centralDerivative(const FiguresAfterMove& at, double firstStep);

// How a changed set's notch is placed. AtOffset: the mid-gear centre is recomputed, as closing a
// dimension dialog does, and the notch stays the same offset from it; this is what a designer
// who changes a dimension sees. AtPosition: the reverse arm stays where it was; this is a worn
// gear, whose reach rod nobody moved.
enum class NotchHeld { AtOffset, AtPosition };

// The first step for a dimension: 0.004 units, or 1 % of a dimension smaller than 0.4.
double firstSensitivityStep(float value);

// d(figure)/d(dimension) at the notch `offset` from the centre of `ws`.
FigureDerivative dimensionDerivative(const Workspace& ws, int id, double offset, NotchHeld held);
// d(figure)/d(reverse-arm position) at the notch, every dimension as it is.
FigureDerivative reverseArmDerivative(const Workspace& ws, double offset);

struct SensitivityRow {
  int Id = 0;
  double Value = 0.0;
  EventFigures PerUnit{};
  // The change of each figure for a change of the dimension by 1 % of its value.
  EventFigures PerPercent{};
  std::array<bool, kEventFigureCount> Stable{};
  // Only the drawing uses it: every derivative is 0 exactly, not computed.
  bool DrawingOnly = false;
};

struct SensitivityNotch {
  double Offset = 0.0;
  NotchEvents Events;  // the notch as it stands
  std::vector<SensitivityRow> Rows;
};

struct SensitivityTable {
  std::vector<SensitivityNotch> Notches;
};

// Every editable dimension (1..16, 101..122), in that order.
std::vector<int> sensitivityDimensions();

// The table at each offset, in the order given, for the dimensions of sensitivityDimensions().
SensitivityTable ComputeSensitivity(const Workspace& ws, const std::vector<double>& offsets);

// Row indices of a notch ordered by how much the figure moves, largest magnitude first, per unit
// or per 1 %. Rows whose derivative is 0 or NaN follow in table order, and the drawing-only
// rows come last of all, so that a row ranked above them can move the valve at all.
std::vector<int> rankForFigure(const SensitivityNotch& notch, int figure, bool perPercent);

// The dimensions a search for equal front and rear cut-offs does best to vary, most first, at
// most `count`: ranked by how far each moves the difference of the two cut-offs within its
// default tuning bounds (|d front/d x - d rear/d x| times half the bounds' width), the largest
// over the table's notches. Only dimensions that move the valve, and only those that move the
// difference at all.
std::vector<int> rankForEqualCutOff(const Workspace& ws, const SensitivityTable& table,
                                    std::size_t count);

// The largest magnitude of any finite per-unit derivative of the figure over every row of every
// notch (0 if none): what "larger than 1 % of the table's largest" is measured against.
double largestDerivative(const SensitivityTable& table, int figure);

}  // namespace vek1
