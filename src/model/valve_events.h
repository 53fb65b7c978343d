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

// Where an event happens, counted from its own end's dead centre in the running direction.
// CrankAngle: degrees of crank travel. Admission and compression, which come about dead centre,
// are in (-180, 180]: negative before dead centre. Cut-off and release, which follow admission,
// are in [0, 360): a cut-off above 180 falls in the return stroke. Stroke: the piston's place in
// percent of the stroke the event happens in, from that stroke's start; an event in the last half
// turn before the end's dead centre (compression, an early admission, a late cut-off) is a
// percent of the return stroke.
struct EventPoint {
  double CrankAngle = 0.0;
  double Stroke = 0.0;
};

// An event's place as one number running on through the turn, in percent of the stroke from its
// own end's dead centre: negative before it (minus the percent of the return stroke still to
// go), above 100 after the next dead centre. Events at the two ends compare on this.
double percentFromDeadCentre(const EventPoint& e);

// How a valve edge behaves over a turn. One that is open the whole turn never cuts off (or never
// compresses); one that is closed the whole turn never admits (or never releases). Their events
// are then empty rather than a made-up number. An edge that cycles can still have an empty event:
// one that would fall where the linkage cannot close.
enum class EdgeCycle { Cycles, NeverOpens, AlwaysOpen };
std::string_view edgeCycleText(EdgeCycle cycle);  // "cycles", "never opens", "always open"

// An opening spell whose widest opening stays at or under this (length units) counts as closed:
// the single-precision rounding of a valve that just touches its lap, not steam. The angle of a
// real event is still where the opening crosses zero.
constexpr double kOpenThreshold = 1e-5;

// A range of crank angles; see the fields that hold one for what they are counted from. A range
// through 0 has From > To.
struct AngleRange {
  double From = 0.0;
  double To = 0.0;
};

struct EndEvents {
  // Steam opening at this end's dead centre (front at 0 degrees, rear at 180); negative: the
  // edge is still closed by that much.
  double Lead = 0.0;
  std::optional<EventPoint> Admission, CutOff;     // steam edge opens, closes
  std::optional<EventPoint> Release, Compression;  // exhaust edge opens, closes
  EdgeCycle SteamEdge = EdgeCycle::Cycles;
  EdgeCycle ExhaustEdge = EdgeCycle::Cycles;
  // The steam port is still open at the end's next dead centre: cut-off falls in the return
  // stroke, or never comes.
  bool IntoReturnStroke = false;
  // Where steam and exhaust are open at once at this end, live steam blowing straight to the
  // exhaust: crank angles after this end's dead centre in the running direction, [0, 360).
  std::vector<AngleRange> BlowThrough;
  // The valve's laps at this end, fixed by the valve and port face: steam lap (outside edge over
  // the steam port's outer edge) and exhaust lap (cavity edge over the port's inner edge; negative
  // is exhaust clearance). Length units.
  double SteamLap = 0.0;
  double ExhaustLap = 0.0;
  // Largest openings over the turn (negative: the edge never opens, by that much), and the same
  // limited to the steam port's width, which is all that steam or exhaust can pass through.
  double MaxSteamOpening = 0.0;
  double MaxExhaustOpening = 0.0;
  double EffectiveSteamOpening = 0.0;
  double EffectiveExhaustOpening = 0.0;
  // The valve uncovers the whole width of this end's steam port to steam, or to the exhaust
  // cavity, at some point of the turn.
  bool OpensFully = false;
  bool ExhaustOpensFully = false;
};

// The joints the solver closes, in the order it closes them: three where a rod meets a straight
// line (crosshead, reverse-arm end, valve-stem joint) and two where two circles meet (lower end
// of the coupler on the anchor link, die block in the link).
enum class GearJoint { Crosshead, AnchorLink, ReverseArm, DieBlock, ValveStem };
std::string_view jointName(GearJoint joint);  // "Crosshead", "Anchor link", ...
constexpr int kJointCount = 5;

// The joint that comes nearest to locking over the turn, by one measure at every joint: the
// angle at which the paths of the two members meeting there cross (their transmission angle),
// folded into 0..90 degrees. 90 is best: the driving member pushes straight along the path the
// driven one allows. 0 is locked: the two paths touch instead of crossing, and the joint can
// move no further. At the two circle joints (anchor link, die block) it is the angle between the
// two members at the joint; at the three straight-line joints it is 90 minus the angle between
// the rod and its guide line. Degrees is the smallest value over the turn, 0 where the joint
// cannot close at all. For the three straight-line steps, SpareLength is the smallest length the
// rod had to spare over the offset it spans (negative: short by that much), with the step it
// belongs to.
struct JointMargin {
  GearJoint Joint = GearJoint::Crosshead;
  double Degrees = 90.0;
  GearJoint SpareJoint = GearJoint::Crosshead;
  double SpareLength = 0.0;
};

struct NotchEvents {
  double Offset = 0.0;         // asked-for reverse-arm offset from the mid-gear centre
  float ReverseArmPos = 0.0f;  // the reverse-arm position it gives
  // "Fwd" at or above the centre, "Rev" below: the way the engine runs at that setting, and so
  // the order in which each edge opens and closes.
  std::string Direction = "Fwd";
  bool Error = false;
  // Driver angles (degrees, 0..360, as the main window shows them) over which the linkage could
  // not close and the solver substituted a nearby value. No event inside them is reported.
  std::vector<AngleRange> ErrorRanges;
  // The reverse arm cannot be set here: its end lies farther from the arm's pivot than the arm
  // is long. Nothing else of the notch is computed (Error is set, over the whole turn).
  bool OutOfReach = false;
  // Farther from the centre than "Rev Arm to Cent Norm", the normal full gear, but within reach.
  bool BeyondFullGear = false;
  double ValveTravel = 0.0;  // largest minus smallest valve displacement over the turn
  double DieSlip = 0.0;      // range of the die block's travel along the link, length units
  JointMargin ClosureMargin;
  EndEvents Front, Rear;
};

struct OffsetRange {
  double Lowest = 0.0;
  double Highest = 0.0;
  bool contains(double offset) const { return offset >= Lowest && offset <= Highest; }
};

struct ValveEventsTable {
  float Centre = 0.0f;  // the mid-gear reverse-arm position the offsets are measured from
  OffsetRange Reach;    // the offsets the reverse arm can reach
  std::vector<NotchEvents> Notches;
};

// The events at one reverse-arm position, for the working set `ws` as it stands.
NotchEvents ValveEventsAt(const GearSet& ws, float reverseArmPos);
// The events at the mid-gear centre + offset.
NotchEvents ValveEvents(const GearSet& ws, double offset);

// The notches of the default table, as offsets from the centre: the port events diagram's
// reverse-arm settings in steps of a ninth of "Rev Arm to Cent Max", from full forward gear
// through mid gear to full reverse (19 settings).
std::vector<double> DefaultNotchOffsets(const GearSet& ws);
constexpr int kDefaultNotchCount = 19;

// "Rev Arm to Cent Max" as the notches here and the rows of the port events diagram divide it. A
// damaged file can hold 0, a negative value, an infinity or NaN: a magnitude under
// kMinRevArmMax is pushed out to it (keeping its sign, 0 counting as positive), NaN becomes
// kMinRevArmMax and an infinity the largest single, which keeps every offset and pixel finite.
constexpr double kMinRevArmMax = 1e-5;
double NotchRevArmMax(const GearSet& ws);

// The offsets from the mid-gear centre the reverse arm can reach: its end no farther from the
// arm's pivot than the arm is long. A notch outside it has no pose at all.
OffsetRange ReachableOffsets(const GearSet& ws);

// The events at each offset, in the order given.
ValveEventsTable ComputeValveEvents(const GearSet& ws, const std::vector<double>& offsets);
// The default table.
ValveEventsTable ComputeValveEvents(const GearSet& ws);

// Percent of the stroke from a cylinder end's dead centre for a PistonPos (0..640).
double frontStrokePercent(double pistonPos);
double rearStrokePercent(double pistonPos);

}  // namespace vek1
