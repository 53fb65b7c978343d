#pragma once
// Valve events: the numbers a designer reads off a gear at each notch of the reverse arm. For
// every cylinder end the lead, the crank angle and piston position of admission, cut-off,
// release and compression, the largest port openings; for the notch the valve travel, the die
// block's slip along the link, how near the linkage comes to locking and where it cannot close.
//
// Every event is bracketed on a coarse grid of driver angles and then refined on the solver's
// own output to well under 0.001 degree, so a table of 19 notches costs a few thousand solves
// instead of the hundreds of thousands a fine sweep would take. The caller's working set is
// never changed: the computation runs on a private copy.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace.h"

namespace vek1 {

// Where an event happens. CrankAngle: degrees of crank travel after that end's dead centre in
// the running direction, in (-180, 180] (admission before dead centre is negative). Stroke: the
// piston's position in percent of the stroke, measured from that end's dead centre.
struct EventPoint {
  double CrankAngle = 0.0;
  double Stroke = 0.0;
};

// How a valve edge behaves over a turn. An edge that is open the whole turn never cuts off (or
// never compresses); one that is closed the whole turn never admits (or never releases). Their
// events are then empty rather than a made-up number.
enum class EdgeCycle { Cycles, NeverOpens, NeverCloses };
std::string_view edgeCycleText(EdgeCycle cycle);  // "", "never opens", "never closes"

struct EndEvents {
  // Steam opening at this end's dead centre (front at 0 degrees, rear at 180); negative: the
  // edge is still closed by that much.
  double Lead = 0.0;
  std::optional<EventPoint> Admission, CutOff;     // steam edge opens, closes
  std::optional<EventPoint> Release, Compression;  // exhaust edge opens, closes
  EdgeCycle SteamEdge = EdgeCycle::Cycles;
  EdgeCycle ExhaustEdge = EdgeCycle::Cycles;
  // Largest openings over the turn (negative: the edge never opens, by that much).
  double MaxSteamOpening = 0.0;
  double MaxExhaustOpening = 0.0;
  // The valve uncovers the whole width of this end's steam port at some point of the turn.
  bool OpensFully = false;
};

// The joints the solver closes, in the order it closes them: three where a rod meets a straight
// line (crosshead, reverse-arm end, valve-stem joint) and two where two circles meet (lower end
// of the coupler on the anchor link, die block in the link).
enum class GearJoint { Crosshead, AnchorLink, ReverseArm, DieBlock, ValveStem };
std::string_view jointName(GearJoint joint);  // "Crosshead", "Anchor link", ...
constexpr int kJointCount = 5;

// The joint that comes nearest to locking over the turn: Degrees is its smallest angle from
// tangency (the two circles, or the rod's circle and its line, touching); 0 where it cannot close
// at all. For the three straight-line steps, SpareLength is the smallest length the rod had to
// spare over the offset it spans (negative: short by that much), with the step it belongs to.
struct JointMargin {
  GearJoint Joint = GearJoint::Crosshead;
  double Degrees = 90.0;
  GearJoint SpareJoint = GearJoint::Crosshead;
  double SpareLength = 0.0;
};

// A range of driver angles (degrees, 0..360, as the main window shows them) over which the
// linkage could not close and the solver substituted a nearby value.
struct AngleRange {
  double From = 0.0;
  double To = 0.0;
};

struct NotchEvents {
  double Offset = 0.0;         // asked-for reverse-arm offset from the mid-gear centre
  float ReverseArmPos = 0.0f;  // the reverse-arm position it gives
  // "Fwd" at or above the centre, "Rev" below: the way the engine runs at that setting, and so
  // the order in which each edge opens and closes.
  std::string Direction = "Fwd";
  bool Error = false;
  std::vector<AngleRange> ErrorRanges;
  double ValveTravel = 0.0;  // largest minus smallest valve displacement over the turn
  double DieSlip = 0.0;      // range of the die block's travel along the link, length units
  JointMargin ClosureMargin;
  EndEvents Front, Rear;
};

struct ValveEventsTable {
  float Centre = 0.0f;  // the mid-gear reverse-arm position the offsets are measured from
  std::vector<NotchEvents> Notches;
};

// The events at one reverse-arm position, for the working set `ws` as it stands.
NotchEvents ValveEventsAt(const Workspace& ws, float reverseArmPos);
// The events at the mid-gear centre + offset.
NotchEvents ValveEvents(const Workspace& ws, double offset);

// The notches of the default table, as offsets from the centre: the port events diagram's
// reverse-arm settings in steps of a ninth of "Rev Arm to Cent Max", from full forward gear
// through mid gear to full reverse (19 settings).
std::vector<double> DefaultNotchOffsets(const Workspace& ws);
constexpr int kDefaultNotchCount = 19;

// "Rev Arm to Cent Max" as the notches here and the rows of the port events diagram divide it. A
// damaged file can hold 0, a negative value, an infinity or NaN: a magnitude under
// kMinRevArmMax is pushed out to it (keeping its sign, 0 counting as positive), NaN becomes
// kMinRevArmMax and an infinity the largest single, which keeps every offset and pixel finite.
constexpr double kMinRevArmMax = 1e-5;
double NotchRevArmMax(const Workspace& ws);

// The events at each offset, in the order given.
ValveEventsTable ComputeValveEvents(const Workspace& ws, const std::vector<double>& offsets);
// The default table.
ValveEventsTable ComputeValveEvents(const Workspace& ws);

// Percent of the stroke from a cylinder end's dead centre for a PistonPos (0..640).
double frontStrokePercent(double pistonPos);
double rearStrokePercent(double pistonPos);

}  // namespace vek1
