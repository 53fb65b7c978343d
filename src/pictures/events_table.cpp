#include "events_table.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "numbers.h"
#include "valve_events_text.h"

namespace vek1 {

namespace {

// Offsets beyond this are not a reverse-arm setting anyone means.
constexpr double kLargestOffset = 1e6;
constexpr size_t kMostNotches = 1000;

// What a cell shows where there is no event: the port open the whole turn, closed the whole
// turn, or an event that falls where the linkage cannot close.
std::string noEvent(EdgeCycle cycle) {
  switch (cycle) {
    case EdgeCycle::AlwaysOpen:
      return "open";
    case EdgeCycle::NeverOpens:
      return "-";
    case EdgeCycle::Cycles:
      break;
  }
  return "lock";
}

std::string percent(const std::optional<EventPoint>& e, EdgeCycle cycle) {
  if (!e) return noEvent(cycle);
  // A cut-off or release past the next dead centre: the port stays open through the stroke.
  if (e->CrankAngle >= 180.0) return ">100";
  return fixedText(e->Stroke, 0, 2);
}

std::string degrees(const std::optional<EventPoint>& e, EdgeCycle cycle) {
  if (!e) return noEvent(cycle);
  return fixedText(e->CrankAngle, 0, 2);
}

std::string eventTip(const char* name, const std::optional<EventPoint>& e, EdgeCycle cycle) {
  if (!e) {
    if (cycle == EdgeCycle::Cycles)
      return std::string(name) + ": falls where the linkage cannot close";
    return std::string(name) + ": the edge is " + std::string(edgeCycleText(cycle));
  }
  const bool before = e->CrankAngle < 0.0;
  const bool returnStroke = before || e->CrankAngle >= 180.0;
  return std::string(name) + ": crank " + fixedText(std::fabs(e->CrankAngle), 0, 3) + " deg " +
         (before ? "before" : "after") + " this end's dead centre, " + fixedText(e->Stroke, 0, 3) +
         " % of the " + (returnStroke ? "return stroke" : "stroke");
}

// An event happens at one end and not the other, or at places too far apart.
bool eventsDiffer(const std::optional<EventPoint>& f, const std::optional<EventPoint>& r,
                  double tolerance) {
  if (f.has_value() != r.has_value()) return true;
  return f && std::fabs(percentFromDeadCentre(*f) - percentFromDeadCentre(*r)) > tolerance;
}

void addPair(std::vector<EventsCell>& row, EventsCell front, EventsCell rear, bool differs) {
  front.differs = rear.differs = differs;
  row.push_back(std::move(front));
  row.push_back(std::move(rear));
}

std::string errorText(const NotchEvents& n) {
  if (n.OutOfReach) return "out of reach";
  if (!n.Error) return "";
  const std::string ranges = rangesText(n.ErrorRanges);
  return ranges.empty() ? "locks" : "locks " + ranges;
}

// What a designer must not miss about a notch, in words.
std::string notesText(const NotchEvents& n, const OffsetRange& reach) {
  std::string text;
  auto add = [&text](const std::string& note) { text += (text.empty() ? "" : "; ") + note; };
  if (n.OutOfReach) {
    add("the reverse arm reaches " + fixedText(reach.Lowest, 0, 3) + " to " +
        fixedText(reach.Highest, 0, 3));
    return text;
  }
  if (n.BeyondFullGear) add("beyond normal full gear");
  for (const auto& [end, e] : {std::pair<const char*, const EndEvents&>{"front", n.Front},
                               std::pair<const char*, const EndEvents&>{"rear", n.Rear}}) {
    if (e.SteamEdge == EdgeCycle::NeverOpens) add(std::string(end) + " takes no steam");
    if (e.IntoReturnStroke) add(std::string(end) + " steam open past dead centre");
    if (e.OpensFully) add(std::string(end) + " steam port opens fully");
    if (!e.BlowThrough.empty()) add(std::string("blow-through ") + end + " " + rangesText(e.BlowThrough));
  }
  return text;
}

// A notch as a driver names it: by the cut-off it gives, the mean of the two ends' when both
// cut off within the stroke, else the one that does.
std::string notchCutOff(const NotchEvents& n) {
  double sum = 0.0;
  int count = 0;
  for (const EndEvents* e : {&n.Front, &n.Rear})
    if (e->CutOff && e->CutOff->CrankAngle < 180.0 && std::isfinite(e->CutOff->Stroke)) {
      sum += e->CutOff->Stroke;
      ++count;
    }
  return count ? fixedText(sum / count, 0, 1) : "-";
}

constexpr const char* kFrontRearTip =
    "front is the cylinder end away from the driver, rear the end nearer it";

}  // namespace

EventsTableView buildEventsTable(const ValveEventsTable& table, const EventTolerance& tolerance) {
  EventsTableView view;
  view.laps = lapsText(table);
  const std::string ends = std::string(" (") + kFrontRearTip + ")";
  view.header = {"Offset (units)",
                 "Running",
                 "Notch cut-off (%)",
                 "Lead Front (units)",
                 "Lead Rear (units)",
                 "Admission Front (deg)",
                 "Admission Rear (deg)",
                 "Cut-off Front (%)",
                 "Cut-off Rear (%)",
                 "Release Front (%)",
                 "Release Rear (%)",
                 "Compression Front (%)",
                 "Compression Rear (%)",
                 "Steam opening Front (units)",
                 "Steam opening Rear (units)",
                 "Exhaust opening Front (units)",
                 "Exhaust opening Rear (units)",
                 "Valve travel (units)",
                 "Die slip (units)",
                 "Nearest lock",
                 "Lock margin (deg)",
                 "Error",
                 "Notes"};
  view.headerTips = {
      "The reverse arm's setting, as an offset from its mid-gear centre",
      "The way the engine runs at this setting: forward at or above the centre, reverse below",
      "The notch named by its cut-off: the mean of the front and rear cut-off, % of stroke",
      "Front lead: how far the steam port is open at the front dead centre" + ends,
      "Rear lead: how far the steam port is open at the rear dead centre" + ends,
      "Front admission: crank degrees from the front dead centre, negative before it",
      "Rear admission: crank degrees from the rear dead centre, negative before it",
      "Front cut-off: % of the stroke at which the front steam port closes",
      "Rear cut-off: % of the stroke at which the rear steam port closes",
      "Front release: % of the stroke at which the front exhaust opens",
      "Rear release: % of the stroke at which the rear exhaust opens",
      "Front compression: % of the return stroke at which the front exhaust closes",
      "Rear compression: % of the return stroke at which the rear exhaust closes",
      "Largest opening of the front steam port; the notes say when it opens fully",
      "Largest opening of the rear steam port; the notes say when it opens fully",
      "Largest opening of the front port to the exhaust",
      "Largest opening of the rear port to the exhaust",
      "Largest minus smallest valve displacement over the turn",
      "Range of the die block's travel along the link",
      "The joint that comes nearest to locking over the turn",
      "How near that joint comes to locking, degrees from tangency",
      "Driver angles where the linkage cannot close",
      "What a designer must not miss about this notch"};
  for (const NotchEvents& n : table.Notches) {
    std::vector<EventsCell> row;
    row.push_back(
        {fixedText(n.Offset, 0, 3), "Reverse arm at " + fixedText(n.ReverseArmPos, 0, 3)});
    row.push_back({n.Direction == "Rev" ? "reverse" : "forward", ""});
    row.push_back({n.OutOfReach ? "" : notchCutOff(n),
                   "The notch named by its cut-off, % of stroke"});
    const EndEvents& f = n.Front;
    const EndEvents& r = n.Rear;
    addPair(row, {fixedText(f.Lead, 0, 4), "Front lead"}, {fixedText(r.Lead, 0, 4), "Rear lead"},
            std::fabs(f.Lead - r.Lead) > tolerance.Lead);
    addPair(row,
            {degrees(f.Admission, f.SteamEdge), eventTip("Admission", f.Admission, f.SteamEdge)},
            {degrees(r.Admission, r.SteamEdge), eventTip("Admission", r.Admission, r.SteamEdge)},
            eventsDiffer(f.Admission, r.Admission, tolerance.StrokePercent));
    addPair(row, {percent(f.CutOff, f.SteamEdge), eventTip("Cut-off", f.CutOff, f.SteamEdge)},
            {percent(r.CutOff, r.SteamEdge), eventTip("Cut-off", r.CutOff, r.SteamEdge)},
            eventsDiffer(f.CutOff, r.CutOff, tolerance.StrokePercent));
    addPair(row, {percent(f.Release, f.ExhaustEdge), eventTip("Release", f.Release, f.ExhaustEdge)},
            {percent(r.Release, r.ExhaustEdge), eventTip("Release", r.Release, r.ExhaustEdge)},
            eventsDiffer(f.Release, r.Release, tolerance.StrokePercent));
    addPair(row,
            {percent(f.Compression, f.ExhaustEdge),
             eventTip("Compression", f.Compression, f.ExhaustEdge)},
            {percent(r.Compression, r.ExhaustEdge),
             eventTip("Compression", r.Compression, r.ExhaustEdge)},
            eventsDiffer(f.Compression, r.Compression, tolerance.StrokePercent));
    auto openingTip = [](const char* end, bool full) {
      return std::string("Largest ") + end + " steam opening" + (full ? ": the whole port" : "");
    };
    addPair(row, {fixedText(f.MaxSteamOpening, 0, 4), openingTip("front", f.OpensFully)},
            {fixedText(r.MaxSteamOpening, 0, 4), openingTip("rear", r.OpensFully)}, false);
    addPair(row, {fixedText(f.MaxExhaustOpening, 0, 4), "Largest front exhaust opening"},
            {fixedText(r.MaxExhaustOpening, 0, 4), "Largest rear exhaust opening"}, false);
    row.push_back({fixedText(n.ValveTravel, 0, 4), "Largest minus smallest valve displacement"});
    row.push_back({fixedText(n.DieSlip, 0, 4), "Range of the die block's travel along the link"});
    const JointMargin& m = n.ClosureMargin;
    const std::string spare = "Smallest spare length of a rod: " +
                              std::string(jointName(m.SpareJoint)) + " " +
                              fixedText(m.SpareLength, 0, 4);
    row.push_back({std::string(jointName(m.Joint)), spare});
    row.push_back({fixedText(m.Degrees, 0, 1), spare});
    row.push_back({errorText(n), n.Error ? "Driver angles where the linkage cannot close" : ""});
    row.push_back({notesText(n, table.Reach),
                   "Blow-through: crank angles after that end's dead centre where steam and "
                   "exhaust are open at once"});
    // Out of reach there is no pose: every figure between the notch and its notes is blank.
    if (n.OutOfReach)
      for (size_t c = 3; c + 2 < row.size(); ++c) row[c] = {"", "", false, true};
    if (n.Error)
      for (EventsCell& cell : row) cell.error = true;
    view.rows.push_back(std::move(row));
  }
  return view;
}

const char* const kEventsConventionText =
    "crank degrees from each end's dead centre (admission and compression negative before it, "
    "cut-off and release 0-360 after it); each % is of the stroke the event falls in, so "
    "compression is of the return stroke";

std::string lapsText(const ValveEventsTable& table) {
  for (const NotchEvents& n : table.Notches) {
    if (n.OutOfReach) continue;
    return "steam lap F " + fixedText(n.Front.SteamLap, 0, 4) + " R " +
           fixedText(n.Rear.SteamLap, 0, 4) + ", exhaust lap F " +
           fixedText(n.Front.ExhaustLap, 0, 4) + " R " + fixedText(n.Rear.ExhaustLap, 0, 4);
  }
  return "";
}

std::string tabSeparated(const EventsTableView& view) {
  std::string text;
  auto line = [&text](const auto& cells, auto cellText) {
    for (size_t i = 0; i < cells.size(); ++i) {
      if (i) text += '\t';
      text += cellText(cells[i]);
    }
    text += '\n';
  };
  line(view.header, [](const std::string& s) { return s; });
  for (const auto& row : view.rows) line(row, [](const EventsCell& c) { return c.text; });
  return text;
}

WorkingSetFingerprint fingerprintOf(const GearSet& ws) {
  WorkingSetFingerprint f;
  f.frame = ws.Frame;
  f.cyl = ws.Cyl;
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  // The fixed points the solver starts from: driver centre, cylinder and valve-stem lines, link
  // pivot and anchor pivot (with their copies at 5 and 12).
  f.pivots = {H[1], V[1], V[3], V[4], H[5], V[5], H[6], V[6], H[12], V[12], H[13], V[13]};
  f.centre = ws.RevArmPositions[0];
  f.name = ws.DimSetName;
  return f;
}

bool sameWorkingSet(const WorkingSetFingerprint& a, const WorkingSetFingerprint& b) {
  return std::memcmp(a.frame.data(), b.frame.data(), sizeof a.frame) == 0 &&
         std::memcmp(a.cyl.data(), b.cyl.data(), sizeof a.cyl) == 0 &&
         std::memcmp(a.pivots.data(), b.pivots.data(), sizeof a.pivots) == 0 &&
         std::memcmp(&a.centre, &b.centre, sizeof a.centre) == 0 && a.name == b.name;
}

bool parseNotchList(const std::string& text, std::vector<double>& offsets, bool& useDefault) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos || text.substr(first, 7) == "default") {
    if (first != std::string::npos && text.find_first_not_of(" \t", first + 7) != std::string::npos)
      return false;
    useDefault = true;
    return true;
  }
  std::optional<std::vector<double>> parsed = parseNumberList(text);
  if (!parsed || parsed->size() > kMostNotches) return false;
  for (double x : *parsed)
    if (std::fabs(x) > kLargestOffset) return false;
  offsets = std::move(*parsed);
  useDefault = false;
  return true;
}

bool parseReachableNotches(const std::string& text, const OffsetRange& reach, std::size_t most,
                           std::vector<double>& offsets, bool& useDefault) {
  std::vector<double> parsed;
  bool asDefault = false;
  if (!parseNotchList(text, parsed, asDefault)) return false;
  if (!asDefault && (parsed.empty() || parsed.size() > most ||
                     !std::all_of(parsed.begin(), parsed.end(),
                                  [&](double x) { return reach.contains(x); })))
    return false;
  offsets = std::move(parsed);
  useDefault = asDefault;
  return true;
}

}  // namespace vek1
