#pragma once
// A worn gear: every pin joint has a radial clearance, and the study finds, per notch, how far
// each valve event can wander over the play those clearances allow.
//
// A clearance c at a joint lets the pin's centre lie anywhere within c of its nominal place. The
// members of this gear that carry a joint at each end are two-force members, so to first order
// only the component of that displacement along the member counts: it changes the member's
// centre distance by up to +-c. The play of each joint is therefore a change, within +-c, of the
// one dimension it acts on (the reach rod's pin at the reverse arm moves the arm's end itself),
// made on a copy of the working set with the reverse arm left where the reach rod holds it.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "sensitivity.h"
#include "workspace.h"

namespace vek1 {

enum WearJoint : int {
  kCrankPin, kCrosshead, kMainRodHanger, kCouplerAtLever, kCouplerAtAnchorLink,
  kAnchorLinkPivot, kDieInLink, kValveLeverTop, kValveStemJoint, kReverseArmEnd,
  kWearJointCount
};

struct WearJointInfo {
  std::string_view Name;  // "Crank pin"
  std::string_view Key;   // "crank-pin", as the command line names it
  // The dimension its play changes; 0 for the reverse arm, whose play moves the arm's end.
  int Dimension = 0;
};
const WearJointInfo& wearJointInfo(int joint);
// The joint a key names, or -1.
int wearJointByKey(std::string_view key);

constexpr double kDefaultClearance = 0.002;  // units (inches on the factory set)
// Larger clearances are not wear but a different gear; the study refuses them.
constexpr double kMaxClearance = 0.1;
using Clearances = std::array<double, kWearJointCount>;
Clearances defaultClearances();
// The clearances the set keeps (Workspace::JointClearances), in the joints' order.
Clearances clearancesOf(const GearSet& ws);
// Clearances a study can run on, or the reason they cannot: each finite and in [0, kMaxClearance].
std::optional<std::string_view> checkClearances(const Clearances& c);

// Each joint's play, within +-its clearance.
using PlayState = std::array<double, kWearJointCount>;

// The figures the envelope is found for: the events of each end and each end's largest steam
// opening (the valve's reach towards that end, from which the lost motion follows).
enum WearFigure : int {
  kWearFrontLead, kWearFrontCutOff, kWearFrontRelease, kWearFrontCompression,
  kWearRearLead, kWearRearCutOff, kWearRearRelease, kWearRearCompression,
  kWearFrontReach, kWearRearReach,
  kWearFigureCount
};
using WearFigures = std::array<double, kWearFigureCount>;
std::string_view wearFigureKey(int figure);  // "Front.CutOff", ..., "Front.Reach"

// The figures of the notch (reverse arm at `reverseArmPos`) with the given play.
WearFigures wornFigures(const Workspace& ws, float reverseArmPos, const PlayState& play);

struct WearEnvelope {
  double Nominal = 0.0;  // without play; NaN when the event does not happen
  double Min = 0.0, Max = 0.0;
  double Spread() const { return Max - Min; }
};

struct WearJointShare {
  int Joint = 0;
  double Clearance = 0.0;
  // Its part of the summed first-order spread of the stroke events (cut-off, release and
  // compression of both ends), 0..1; the shares add up to 1 unless nothing spreads.
  double Share = 0.0;
};

struct WearNotch {
  double Offset = 0.0;
  float ReverseArmPos = 0.0f;
  bool OutOfReach = false;
  std::array<WearEnvelope, kWearFigureCount> Envelope{};
  // First-order spread of each figure: 2 x sum over joints of clearance x |derivative|.
  std::array<double, kWearFigureCount> LinearSpread{};
  // Per joint and figure, d(figure)/d(play), at zero play.
  std::array<std::array<double, kWearFigureCount>, kWearJointCount> Derivative{};
  // The play state at which each figure's Min and Max were found.
  std::array<PlayState, kWearFigureCount> MinAt{}, MaxAt{};
  double ValveTravel = 0.0;  // without play
  // How much of the valve's travel the play can take up: the nominal reach towards each end
  // less the smallest reach the play allows there. Travel with play = ValveTravel - LostMotion.
  double LostMotion = 0.0;
  std::vector<WearJointShare> Joints;
  int Evaluations = 0;  // play states solved
};

struct WearStudy {
  Clearances Clearance{};
  std::vector<WearNotch> Notches;
};

// The envelope search at one notch: for each figure and each side, start at the corner of the
// play given by the signs of the derivatives, then flip one joint at a time while that moves
// the figure further, until no flip does. Every corner is solved exactly, not extrapolated.
// Clearances outside checkClearances count as 0 (not a number, negative) or kMaxClearance.
WearNotch studyWornNotch(const Workspace& ws, double offset, const Clearances& c);
WearStudy ComputeWornGear(const Workspace& ws, const std::vector<double>& offsets,
                          const Clearances& c);

// The smallest and largest value of each figure over `count` play states drawn uniformly from
// the clearances with a fixed seed: the check that the search missed no worse state.
struct SampledRange {
  std::array<double, kWearFigureCount> Min{}, Max{};
};
SampledRange sampleWornNotch(const Workspace& ws, float reverseArmPos, const Clearances& c,
                             int count, std::uint32_t seed);

}  // namespace vek1
