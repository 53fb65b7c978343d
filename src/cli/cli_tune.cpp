#include "cli_tune.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>

#include "cli_common.h"
#include "dimension_file.h"
#include "exit_codes.h"
#include "dimensions.h"
#include "numbers.h"
#include "tune_figures.h"
#include "tune_search.h"
#include "valve_events.h"
#include "valve_events_text.h"

namespace vek1 {

namespace {

constexpr const char* kTuneUsage =
    R"(usage: vek1-cli tune [options]

Searches for the dimensions that bring the valve events nearest to the goals, starting from the
factory set or a saved one, and prints the dimensions and events before and after.

options:
  --vary ID[,ID...]      the dimensions to vary (1..16 frame, 101..122 cylinder); default the
                         suggested four: 10,12,15,118
  --bounds PCT           each may move +-PCT % of its value, at least PCT % of one unit
                         (default 5)
  --goal LIST            any of equal-cutoff, equal-lead, constant-lead, cutoff=PERCENT (at full
                         forward gear), symmetric (forward and reverse alike), equal-work
                         (front and rear indicated work alike within 1 %, at the set's engine
                         settings: vek1-cli perf), comma-separated; default equal-cutoff
  --notches OFFSETS      offsets from the mid-gear centre, comma-separated, or "default": the
                         forward notches of the valve events (+0.2 .. +1.8 on the factory set)
  --margin DEG           closure margin each notch keeps, in degrees (default 2)
  --max-lead X           largest lead at any notch, units (default the larger of the start's
                         largest lead and a quarter of the narrower steam port)
  --keep-cutoff-range P  full-gear cut-off at most P points below the start's, the shortest
                         notch's at most P above it, each the mean of both ends (default 5);
                         "off" drops it
  --max-travel PCT       valve travel at most PCT % above the start's (default 10); "off"
                         drops it
  --no-limits            none of the design limits above, nor that both ends take steam at
                         every notch (the closure margin and positive lengths stay)
  --method NAME          multistart (default), bobyqa, cobyla or global
  --max-evaluations N    sets the search may try (default 500)
  --max-seconds S        the search ends with its best set after S seconds (default 10)
  --file PATH            start from the dimension set saved in PATH
  --set ID=VALUE         set a dimension first; may be repeated
  --out PATH.dve         save the tuned set as a dimension file
  --format json|text     output form (default text)
  --help                 show this text

The search minimises the largest goal figure (by default the largest front/rear cut-off
difference) and never reports a worse one than the start's: when nothing does better, the start
comes back and the text says so.

Exit code 0 when the search ends with a set that closes and keeps the limits (goals met or not:
the text says which), 1 when no set within the bounds does (nothing is saved), 2 for a usage
error, 3 when the --file set cannot be read, 4 when the --out file or the output cannot be
written.
)";

using cli::numberArg;
using cli::UsageError;

struct TuneOptions {
  std::vector<int> vary;
  double bounds = kDefaultBoundsPercent;
  TuneGoals goals;
  std::optional<std::vector<double>> notches;
  double margin = kDefaultClosureMargin;
  TuneLimits limits;
  TuneSearchOptions search;
  std::string file, out;
  std::vector<std::pair<int, float>> sets;
  bool json = false;
  bool help = false;
};

std::vector<std::string> splitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

// A number, or "off" for a limit that is not kept.
std::optional<double> optionalNumberArg(const std::string& option, const std::string& text) {
  if (text == "off") return std::nullopt;
  const double x = numberArg(option, text);
  if (!(x >= 0)) throw UsageError{option + " expects a number of 0 or more, or off"};
  return x;
}

TuneGoals goalArg(const std::string& text) {
  TuneGoals g;
  g.EqualCutOff = 0;
  for (const std::string& goal : splitCommas(text)) {
    if (goal == "equal-cutoff")
      g.EqualCutOff = 1;
    else if (goal == "equal-lead")
      g.EqualLead = 1;
    else if (goal == "constant-lead")
      g.ConstantLead = 1;
    else if (goal == "symmetric")
      g.Symmetric = 1;
    else if (goal == "equal-work")
      g.EqualWork = 1;
    else if (goal.starts_with("cutoff=")) {
      g.TargetCutOff = 1;
      g.TargetPercent = numberArg("--goal cutoff", goal.substr(7));
    } else
      throw UsageError{"unknown goal '" + goal +
                       "' (use equal-cutoff, equal-lead, constant-lead, cutoff=PERCENT, "
                       "symmetric, equal-work)"};
  }
  return g;
}

TuneOptions parse(const std::vector<std::string>& args) {
  TuneOptions o;
  cli::ArgReader line(args, 0);
  while (line.more()) {
    const std::string option = line.option();
    if (option == "--help" || option == "-h") {
      o.help = true;
      return o;
    } else if (option == "--vary") {
      o.vary.clear();
      for (const std::string& id : splitCommas(line.value(option))) o.vary.push_back(cli::idArg(id));
    } else if (option == "--bounds") {
      o.bounds = numberArg(option, line.value(option));
      if (!(o.bounds > 0)) throw UsageError{"--bounds must be greater than 0"};
    } else if (option == "--goal") {
      o.goals = goalArg(line.value(option));
    } else if (option == "--notches") {
      const std::string& text = line.value(option);
      if (text == "default") {
        o.notches.reset();
        continue;
      }
      o.notches = parseNumberList(text);
      if (!o.notches)
        throw UsageError{"--notches expects offsets such as 1.6,0.8,-0.8, or default"};
    } else if (option == "--max-lead") {
      o.limits.MaxLead = numberArg(option, line.value(option));
    } else if (option == "--keep-cutoff-range") {
      o.limits.CutOffRangePoints = optionalNumberArg(option, line.value(option));
    } else if (option == "--max-travel") {
      o.limits.MaxTravelPercent = optionalNumberArg(option, line.value(option));
    } else if (option == "--no-limits") {
      o.limits.Enabled = false;
    } else if (option == "--max-seconds") {
      o.search.MaxSeconds = numberArg(option, line.value(option));
      if (!(o.search.MaxSeconds > 0 && o.search.MaxSeconds <= 86400))
        throw UsageError{"--max-seconds expects a number of seconds above 0, up to 86400"};
    } else if (option == "--margin") {
      o.margin = numberArg(option, line.value(option));
    } else if (option == "--method") {
      const std::string& name = line.value(option);
      const std::optional<TuneMethod> m = tuneMethodFromName(name);
      if (!m) throw UsageError{"unknown method '" + name + "' (use bobyqa, cobyla or global)"};
      o.search.Method = *m;
    } else if (option == "--max-evaluations") {
      const double n = numberArg(option, line.value(option));
      if (!(n >= 1 && n <= 1e6) || n != std::floor(n))
        throw UsageError{"--max-evaluations expects a whole number from 1 to 1000000"};
      o.search.MaxEvaluations = static_cast<int>(n);
    } else if (option == "--file") {
      o.file = line.value(option);
    } else if (option == "--set") {
      o.sets.push_back(cli::setArg(line.value(option)));
    } else if (option == "--out") {
      o.out = line.value(option);
    } else if (option == "--format") {
      const std::string& f = line.value(option);
      if (f != "json" && f != "text") throw UsageError{"--format expects json or text"};
      o.json = f == "json";
    } else {
      throw UsageError{"unknown option '" + option + "' for tune; try --help"};
    }
  }
  return o;
}

std::string num(double x) {
  if (!std::isfinite(x)) return "null";
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 9);
  return ec == std::errc() ? std::string(buffer, end) : std::string("null");
}

std::string optNum(const std::optional<double>& x) { return x ? num(*x) : "null"; }

const char* outcomeKey(TuneOutcome o) {
  switch (o) {
    case TuneOutcome::GoalsMet: return "GoalsMet";
    case TuneOutcome::GoalsNotMet: return "GoalsNotMet";
    case TuneOutcome::NoClosingSet: return "NoClosingSet";
    case TuneOutcome::Cancelled: return "Cancelled";
    case TuneOutcome::Invalid: return "Invalid";
  }
  return "";
}

std::string stringList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", \"" : "\"") + items[i] + "\"";
  return out + "]";
}

void jsonEvaluation(std::ostream& out, const TuneEvaluation& e) {
  const TuneGoalFigures& g = e.Goals;
  out << "{\"Goals\": {\"MaxCutOffDiff\": " << optNum(g.MaxCutOffDiff)
      << ", \"MaxLeadDiff\": " << optNum(g.MaxLeadDiff) << ", \"LeadRange\": " << optNum(g.LeadRange)
      << ", \"TargetError\": " << optNum(g.TargetError)
      << ", \"MaxSymmetryDiff\": " << optNum(g.MaxSymmetryDiff)
      << ", \"MaxWorkDiff\": " << optNum(g.MaxWorkDiff)
      << ", \"MissingCutOffs\": " << g.MissingCutOffs << "}, \"Objective\": " << num(e.Objective)
      << ", \"WorstMargin\": " << num(e.WorstMargin) << ", \"Closes\": "
      << (e.Closes ? "true" : "false") << ", \"BrokenLimits\": " << stringList(e.BrokenLimits)
      << ", \"GoalsMet\": " << (e.GoalsMet ? "true" : "false") << ",\n    \"Notches\": [";
  for (std::size_t i = 0; i < e.Notches.size(); ++i) {
    const TuneNotchFigures& f = e.Notches[i];
    out << (i ? ",\n      " : "\n      ") << "{\"Offset\": " << num(f.Offset)
        << ", \"Error\": " << (f.Error ? "true" : "false")
        << ", \"ClosureMargin\": " << num(f.ClosureMargin) << ", \"Front\": {\"CutOff\": "
        << optNum(f.Front.CutOff) << ", \"Lead\": " << num(f.Front.Lead)
        << "}, \"Rear\": {\"CutOff\": " << optNum(f.Rear.CutOff) << ", \"Lead\": "
        << num(f.Rear.Lead) << "}}";
  }
  out << "]}";
}

void json(std::ostream& out, const TuneResult& r, TuneMethod method, const Workspace& before,
          const Workspace& after) {
  out << "{\n  \"Outcome\": \"" << outcomeKey(r.Outcome) << "\",\n  \"Message\": \"" << r.Message
      << "\",\n  \"Method\": \"" << tuneMethodName(method) << "\",\n  \"Evaluations\": " << r.Evaluations
      << ",\n  \"Seconds\": " << num(r.Seconds) << ",\n  \"StartKept\": "
      << (r.StartKept ? "true" : "false") << ",\n  \"TimedOut\": " << (r.TimedOut ? "true" : "false")
      << ",\n  \"Objective\": \"" << tuneObjectiveText(r.Settings.Goals)
      << "\",\n  \"Limits\": " << stringList(tuneLimitLines(r.Settings))
      << ",\n  \"Warnings\": " << stringList(r.Warnings) << ",\n  \"Dimensions\": [";
  const std::vector<TuneDimensionChange> changes = tuneDimensionChanges(r);
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const TuneVariable& v = r.Settings.Vary[i];
    const TuneDimensionChange& c = changes[i];
    out << (i ? ",\n    " : "\n    ") << "{\"Id\": " << v.Id << ", \"Name\": \""
        << dimensionLabel(v.Id) << "\", \"Before\": " << singleText(c.Start)
        << ", \"After\": " << singleText(c.Tuned) << ", \"Change\": " << num(c.Change)
        << ", \"ChangePercent\": " << optNum(c.ChangePercent)
        << ", \"AtBound\": " << (c.AtBound ? "true" : "false")
        << ", \"Lower\": " << singleText(v.Lower) << ", \"Upper\": " << singleText(v.Upper) << "}";
  }
  out << "],\n  \"Before\": ";
  jsonEvaluation(out, r.Before);
  out << ",\n  \"After\": ";
  jsonEvaluation(out, r.After);
  // The whole valve events table of both sets, in the form `vek1-cli events` writes it.
  const std::vector<double> notches = tuneEvaluationNotches(r.Settings);
  std::string events = valveEventsJson(ComputeValveEvents(before, notches));
  while (!events.empty() && events.back() == '\n') events.pop_back();
  out << ",\n  \"Events\": {\"Before\": " << events;
  events = valveEventsJson(ComputeValveEvents(after, notches));
  while (!events.empty() && events.back() == '\n') events.pop_back();
  out << ",\n  \"After\": " << events << "}\n}\n";
}

std::string padded(const std::string& s, std::size_t width) {
  return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

std::string cutOffText(const std::optional<double>& x) {
  return x ? fixedText(*x, 0, 2) : std::string("none");
}

void textEvaluation(std::ostream& out, const char* title, const TuneEvaluation& e) {
  out << title << "\n     Notch  Front CO %   Rear CO %  Difference  Front lead   Rear lead  Margin deg\n";
  for (const TuneNotchFigures& f : e.Notches) {
    const std::string diff = f.Front.CutOff && f.Rear.CutOff
                                 ? fixedText(*f.Front.CutOff - *f.Rear.CutOff, 0, 2)
                                 : std::string("none");
    out << padded(fixedText(f.Offset, 0, 3), 10) << padded(cutOffText(f.Front.CutOff), 12)
        << padded(cutOffText(f.Rear.CutOff), 12) << padded(diff, 12)
        << padded(fixedText(f.Front.Lead, 0, 4), 12) << padded(fixedText(f.Rear.Lead, 0, 4), 12)
        << padded(f.Error ? std::string("locks") : fixedText(f.ClosureMargin, 0, 2), 12) << '\n';
  }
}

void text(std::ostream& out, const TuneResult& r) {
  out << r.Message << " (" << r.Evaluations << " sets in " << fixedText(r.Seconds, 0, 2)
      << " s)\n";
  for (const std::string& w : r.Warnings) out << "Warning: " << w << '\n';
  out << "Objective: " << tuneObjectiveText(r.Settings.Goals) << ", "
      << fixedText(r.Before.Objective, 0, 3) << " before, " << fixedText(r.After.Objective, 0, 3)
      << " after\nLimits:\n";
  for (const std::string& l : tuneLimitLines(r.Settings)) out << "  " << l << '\n';
  out << "\nDimension                     Start      Tuned     Change  Change %  At bound"
         "      Lower      Upper\n";
  const std::vector<TuneDimensionChange> changes = tuneDimensionChanges(r);
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const TuneVariable& v = r.Settings.Vary[i];
    const TuneDimensionChange& c = changes[i];
    std::string name(dimensionLabel(v.Id));
    name.resize(26, ' ');
    out << name << padded(fixedText(c.Start, 0, 4), 10) << padded(fixedText(c.Tuned, 0, 4), 11)
        << padded(fixedText(c.Change, 0, 4), 11)
        << padded(c.ChangePercent ? fixedText(*c.ChangePercent, 0, 2) : std::string("-"), 10)
        << padded(c.AtBound ? "yes" : "no", 10) << padded(fixedText(v.Lower, 0, 4), 11)
        << padded(fixedText(v.Upper, 0, 4), 11) << '\n';
  }
  out << '\n';
  textEvaluation(out, "Before", r.Before);
  out << '\n';
  textEvaluation(out, "After", r.After);
  const TuneGoalFigures& b = r.Before.Goals;
  const TuneGoalFigures& a = r.After.Goals;
  out << '\n';
  auto line = [&](const char* what, const std::optional<double>& x, const std::optional<double>& y,
                  int decimals, const char* unit) {
    if (x && y)
      out << what << ": " << fixedText(*x, 0, decimals) << unit << " before, "
          << fixedText(*y, 0, decimals) << unit << " after\n";
  };
  line("Largest front/rear cut-off difference", b.MaxCutOffDiff, a.MaxCutOffDiff, 2, " %");
  line("Largest front/rear lead difference", b.MaxLeadDiff, a.MaxLeadDiff, 4, "");
  line("Largest spread of lead over the notches", b.LeadRange, a.LeadRange, 4, "");
  line("Largest distance from the target cut-off", b.TargetError, a.TargetError, 2, " %");
  line("Largest forward/reverse cut-off difference", b.MaxSymmetryDiff, a.MaxSymmetryDiff, 2, " %");
  line("Largest front/rear work difference", b.MaxWorkDiff, a.MaxWorkDiff, 2, " % of the mean");
  line("Smallest closure margin", r.Before.WorstMargin, r.After.WorstMargin, 2, " degrees");
  if (b.MissingCutOffs > 0 || a.MissingCutOffs > 0)
    out << "Ends that never cut off: " << b.MissingCutOffs << " before, " << a.MissingCutOffs
        << " after\n";
  for (const std::string& l : r.Before.BrokenLimits) out << "Limit broken before: " << l << '\n';
  for (const std::string& l : r.After.BrokenLimits) out << "Limit broken after: " << l << '\n';
}

}  // namespace

int runTuneCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return cli::runReportingErrors(err, [&]() -> int {
    const TuneOptions o = parse(args);
    if (o.help) {
      out << kTuneUsage;
      return 0;
    }
    const Workspace ws = cli::loadWorkspace(o.file, o.sets, err);

    TuneSettings s;
    const std::vector<int> ids =
        o.vary.empty() ? std::vector<int>(kSuggestedTuneDimensions.begin(),
                                          kSuggestedTuneDimensions.end())
                       : o.vary;
    for (int id : ids) s.Vary.push_back(defaultTuneVariable(ws, id, o.bounds));
    s.Notches = o.notches ? *o.notches : defaultTuneNotches(ws);
    s.Goals = o.goals;
    s.MinClosureMargin = o.margin;
    s.Limits = o.limits;
    if (const std::optional<std::string> problem = checkTuneSettings(s))
      throw UsageError{*problem};
    for (const std::string& warning : tuneWarnings(s)) err << "vek1-cli: warning: " << warning << '\n';

    const TuneResult r = runTuneSearch(ws, s, o.search);
    Workspace tuned = ws;
    applyTunedValues(tuned, r.Settings.Vary, r.Values);
    if (o.json)
      json(out, r, o.search.Method, ws, tuned);
    else
      text(out, r);
    if (r.Outcome == TuneOutcome::NoClosingSet) {
      err << "vek1-cli: " << r.Message << '\n';
      return kExitNoClosingSet;
    }
    if (!o.out.empty()) {
      const DimensionFileResult saved = WriteDimensionFile(o.out, tuned);
      if (!saved.ok) {
        err << "vek1-cli: " << saved.message << '\n';
        return kExitWrite;
      }
    }
    return kExitOk;
  });
}

}  // namespace vek1
