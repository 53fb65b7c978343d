#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "events_compare.h"
#include "events_compare_text.h"
#include "model_support.h"

namespace vek1 {
namespace {

using test::startedWorkspace;

// The factory set with one dimension moved, the centre recomputed as an edit does.
Workspace changed(int frameId, float by) {
  Workspace ws = startedWorkspace();
  ws.Frame[static_cast<size_t>(frameId)] += by;
  ComputeReverseArmCentre(ws);
  return ws;
}

// Each figure read straight off a table, by the name the comparison gives it: the comparison's
// numbers are held against these, not against its own reading.
using Reading = std::function<std::optional<double>(const NotchEvents&, const EndEvents&)>;
std::optional<double> eventField(const std::optional<EventPoint>& e, bool angle) {
  if (!e) return std::nullopt;
  return angle ? e->CrankAngle : e->Stroke;
}
const std::vector<std::pair<std::string, Reading>>& endReadings() {
  static const std::vector<std::pair<std::string, Reading>> r = {
      {"Lead", [](auto&, const EndEvents& e) { return std::optional(e.Lead); }},
      {"Admission.CrankAngle", [](auto&, const EndEvents& e) { return eventField(e.Admission, true); }},
      {"Admission.Stroke", [](auto&, const EndEvents& e) { return eventField(e.Admission, false); }},
      {"CutOff.CrankAngle", [](auto&, const EndEvents& e) { return eventField(e.CutOff, true); }},
      {"CutOff.Stroke", [](auto&, const EndEvents& e) { return eventField(e.CutOff, false); }},
      {"Release.CrankAngle", [](auto&, const EndEvents& e) { return eventField(e.Release, true); }},
      {"Release.Stroke", [](auto&, const EndEvents& e) { return eventField(e.Release, false); }},
      {"Compression.CrankAngle",
       [](auto&, const EndEvents& e) { return eventField(e.Compression, true); }},
      {"Compression.Stroke",
       [](auto&, const EndEvents& e) { return eventField(e.Compression, false); }},
      {"SteamLap", [](auto&, const EndEvents& e) { return std::optional(e.SteamLap); }},
      {"ExhaustLap", [](auto&, const EndEvents& e) { return std::optional(e.ExhaustLap); }},
      {"MaxSteamOpening", [](auto&, const EndEvents& e) { return std::optional(e.MaxSteamOpening); }},
      {"MaxExhaustOpening",
       [](auto&, const EndEvents& e) { return std::optional(e.MaxExhaustOpening); }},
      {"EffectiveSteamOpening",
       [](auto&, const EndEvents& e) { return std::optional(e.EffectiveSteamOpening); }},
      {"EffectiveExhaustOpening",
       [](auto&, const EndEvents& e) { return std::optional(e.EffectiveExhaustOpening); }},
  };
  return r;
}
const std::vector<std::pair<std::string, Reading>>& notchReadings() {
  static const std::vector<std::pair<std::string, Reading>> r = {
      {"ValveTravel", [](const NotchEvents& n, auto&) { return std::optional(n.ValveTravel); }},
      {"DieSlip", [](const NotchEvents& n, auto&) { return std::optional(n.DieSlip); }},
      {"ClosureMargin.Degrees",
       [](const NotchEvents& n, auto&) { return std::optional(n.ClosureMargin.Degrees); }},
  };
  return r;
}

// Every figure of every notch: the two sets' values as their own tables give them, and the
// difference exactly working minus reference, in the documented order.
void expectDifferencesOf(const ValveEventsTable& a, const ValveEventsTable& b,
                         const EventsComparison& c) {
  ASSERT_EQ(c.Notches.size(), a.Notches.size());
  for (size_t i = 0; i < c.Notches.size(); ++i) {
    const NotchComparison& n = c.Notches[i];
    const NotchEvents& na = a.Notches[i];
    const NotchEvents& nb = b.Notches[i];
    EXPECT_EQ(n.Offset, na.Offset);
    auto check = [&](const std::vector<FigureDifference>& figures,
                     const std::vector<std::pair<std::string, Reading>>& readings,
                     const EndEvents& ea, const EndEvents& eb, const char* end) {
      ASSERT_EQ(figures.size(), readings.size()) << end;
      for (size_t k = 0; k < readings.size(); ++k) {
        const FigureDifference& f = figures[k];
        SCOPED_TRACE(std::string(end) + " " + f.Name + " notch " + std::to_string(na.Offset));
        EXPECT_EQ(f.Name, readings[k].first);
        // A notch the arm cannot reach has no figures at all.
        const std::optional<double> wa =
            na.OutOfReach ? std::nullopt : readings[k].second(na, ea);
        const std::optional<double> wb =
            nb.OutOfReach ? std::nullopt : readings[k].second(nb, eb);
        EXPECT_EQ(f.Working, wa);
        EXPECT_EQ(f.Reference, wb);
        ASSERT_EQ(f.Difference.has_value(), wa && wb);
        if (f.Difference) {
          EXPECT_EQ(*f.Difference, *wa - *wb);
        }
      }
    };
    check(n.Notch, notchReadings(), na.Front, nb.Front, "Notch");
    check(n.Front, endReadings(), na.Front, nb.Front, "Front");
    check(n.Rear, endReadings(), na.Rear, nb.Rear, "Rear");
  }
}

TEST(EventsCompare, DifferencesAreWorkingMinusReferenceAtEveryNotch) {
  const Workspace a = startedWorkspace();
  const Workspace b = changed(dim::RadiusRod, 0.02f);
  const std::vector<double> offsets = DefaultNotchOffsets(a);
  const ComparedEvents c = compareValveEvents(a, b);
  // Taken on their own, each table is what the events of its set are; the comparison holds both.
  const ValveEventsTable ta = ComputeValveEvents(a, offsets);
  const ValveEventsTable tb = ComputeValveEvents(b, offsets);
  ASSERT_EQ(c.Working.Notches.size(), offsets.size());
  for (size_t i = 0; i < offsets.size(); ++i) {
    EXPECT_EQ(c.Working.Notches[i].Front.CutOff.has_value(), ta.Notches[i].Front.CutOff.has_value());
    EXPECT_EQ(c.Reference.Notches[i].Offset, offsets[i]);
  }
  expectDifferencesOf(ta, tb, c.Differences);
  // The longer radius rod does move the events: a comparison of all zeros would pass the rest.
  const FigureDifference* cut = findFigure(c.Differences.Notches[2], "Front", "CutOff.Stroke");
  ASSERT_TRUE(cut && cut->Difference);
  EXPECT_GT(std::fabs(*cut->Difference), 1.0);
  EXPECT_FALSE(findFigure(c.Differences.Notches[0], "Middle", "Lead"));
  EXPECT_FALSE(findFigure(c.Differences.Notches[0], "Front", "Lead.Stroke"));
}

TEST(EventsCompare, AFigureInOneSetOnlyIsSaidSoNotANumber) {
  const Workspace a = startedWorkspace();
  // A valve so long that at mid gear its steam edge never uncovers the front port.
  Workspace b = startedWorkspace();
  b.Cyl[cyl::slot<dim::ValveLengthFrontHalf>] += 0.5f;
  // And a reverse arm too short to reach the farthest notch the factory arm reaches.
  b.Frame[dim::ReverseArmLength] -= 0.3f;
  ComputeReverseArmCentre(b);
  const double beyond = ReachableOffsets(b).Highest + 0.05;
  ASSERT_TRUE(ReachableOffsets(a).contains(beyond));
  const std::vector<double> offsets = {0.0, beyond};
  const ComparedEvents c = compareValveEvents(a, b, &offsets);
  ASSERT_EQ(c.Reference.Notches[0].Front.SteamEdge, EdgeCycle::NeverOpens);
  ASSERT_TRUE(c.Working.Notches[0].Front.Admission);
  expectDifferencesOf(c.Working, c.Reference, c.Differences);

  const FigureDifference* adm = findFigure(c.Differences.Notches[0], "Front", "Admission.CrankAngle");
  ASSERT_TRUE(adm);
  EXPECT_TRUE(adm->inOnlyOne());
  EXPECT_FALSE(adm->Difference);
  EXPECT_EQ(adm->ReferenceMissing, "never opens");
  EXPECT_TRUE(adm->WorkingMissing.empty());
  EXPECT_TRUE(adm->exceeds(1e9, 1e9));
  EXPECT_EQ(missingNote(*adm), "reference: never opens");

  for (const auto* figures : {&c.Differences.Notches[1].Notch, &c.Differences.Notches[1].Front,
                              &c.Differences.Notches[1].Rear})
    for (const FigureDifference& f : *figures) {
      EXPECT_TRUE(f.Working) << f.Name;
      EXPECT_FALSE(f.Reference) << f.Name;
      EXPECT_EQ(f.ReferenceMissing, "out of reach") << f.Name;
    }

  // The text forms say the same: an empty field and a note, null and the reason.
  const std::string csv = eventsComparisonCsv(c);
  EXPECT_NE(csv.find("0.000000,Front,Admission.CrankAngle,"), std::string::npos);
  EXPECT_NE(csv.find(",,,reference: never opens\n"), std::string::npos) << csv.substr(0, 2000);
  const std::string json = eventsComparisonJson(c, "A \"new\"", "B");
  EXPECT_NE(json.find("\"Name\": \"A \\\"new\\\"\""), std::string::npos);
  EXPECT_NE(json.find("\"Reference\": null, \"Difference\": null, \"ReferenceMissing\": \"never opens\""),
            std::string::npos);
}

FigureDifference figure(const char* name, FigureUnit unit, double working, double reference) {
  FigureDifference f;
  f.Name = name;
  f.Unit = unit;
  f.Working = working;
  f.Reference = reference;
  f.Difference = working - reference;
  return f;
}

TEST(EventsCompare, EachFigureIsJudgedByItsOwnTolerance) {
  const Workspace a = startedWorkspace();
  const ComparedEvents same = compareValveEvents(a, a);
  for (const NotchComparison& n : same.Differences.Notches)
    for (const auto* figures : {&n.Notch, &n.Front, &n.Rear})
      for (const FigureDifference& f : *figures) {
        EXPECT_FALSE(f.exceeds(0.0, 0.0)) << f.Name;
        if (f.Difference) {
          EXPECT_EQ(*f.Difference, 0.0) << f.Name;
        }
      }

  const FigureDifference lead = figure("Lead", FigureUnit::Length, 0.1, 0.094);
  EXPECT_TRUE(lead.exceeds(100.0, 0.005));
  EXPECT_FALSE(lead.exceeds(0.0, 0.01));
  // A crank angle moved by 3 degrees near dead centre but only 0.4 % of the stroke: judged by
  // how far its event moved, in percent, like the event's other figure.
  FigureDifference admission = figure("Admission.CrankAngle", FigureUnit::Degrees, -5.0, -8.0);
  admission.Shift = 0.4;
  EXPECT_FALSE(admission.exceeds(1.0, 0.0));
  EXPECT_TRUE(admission.exceeds(0.3, 100.0));
  const FigureDifference margin =
      figure("ClosureMargin.Degrees", FigureUnit::Degrees, 80.0, 20.0);
  EXPECT_FALSE(margin.exceeds(0.0, 0.0));
  const FigureDifference cut = figure("CutOff.Stroke", FigureUnit::StrokePercent, 75.0, 73.5);
  EXPECT_TRUE(cut.exceeds(1.0, 100.0));
  EXPECT_FALSE(cut.exceeds(2.0, 0.0));
}

}  // namespace
}  // namespace vek1
