#include "cli_report.h"

#include <optional>
#include <ostream>

#include "cli_common.h"
#include "design_report.h"
#include "exit_codes.h"
#include "gear_dxf.h"
#include "gui_for_fonts.h"
#include "numbers.h"
#include "valve_events.h"

namespace vek1 {

const char* const kReportUsage =
    R"(usage: vek1-cli report --out FILE.pdf [--notches OFFSETS|default] [--file PATH]
                      [--set ID=VALUE ...] [--compare OTHER.dve|OTHER.ovk]
                      [--paper a4|letter] [--dxf FILE.dxf] [--units inches|mm|unitless]

Writes the design report of the factory set or a saved one as a PDF: a title page (the set,
the date, the program's version), every dimension with its name, value and unit, the gear at
normal full forward gear at crank angles 0, 90, 180 and 270, the sine, oval, steam and port
diagrams, the valve events table (split over pages by its columns, never smaller than 8
points), and the closure margin and die slip of each notch; with --compare, the reference's
events table and every figure that differs, working minus reference. The pages are numbered; the text
is text. Prints the number of pages. The file is made in memory and written whole: one that
cannot be written (a full disk, a pipe, a device) exits with 4 and leaves nothing behind.

options:
  --out FILE.pdf         the report to write
  --notches OFFSETS      the notches of the tables as offsets from the mid-gear centre, e.g.
                         1.6,0.8,-0.8; "default": full forward to full reverse, 19 notches
  --file PATH            start from the dimension set saved in PATH instead of the factory set
  --set ID=VALUE         set a dimension first; may be repeated (ids 1..18, 101..122)
  --compare PATH         compare with the set saved in PATH (a .dve, or an older .ovk)
  --paper a4|letter      the paper (default a4)
  --dxf FILE.dxf         also write the gear as a CAD drawing: at normal full forward gear at
                         crank angle 0, with the die block's path at each of the notches
  --units inches|mm|unitless
                         the unit the DXF's header names for the set's lengths (default inches)
)";

namespace {

constexpr size_t kMaxNotches = 100;

struct ReportArgs {
  std::string out, dxf;
  std::optional<std::vector<double>> notches;
  std::string file, compare;
  std::vector<std::pair<int, float>> sets;
  ReportPaper paper = ReportPaper::A4;
  DxfUnits units = DxfUnits::Inches;
  bool unitsGiven = false;
  bool help = false;
};

ReportArgs parseReport(const std::vector<std::string>& args) {
  using cli::UsageError;
  ReportArgs a;
  cli::ArgReader line(args, 0);
  while (line.more()) {
    const std::string& option = line.option();
    if (option == "--help" || option == "-h") {
      a.help = true;
      return a;
    } else if (option == "--out") {
      a.out = line.value(option);
    } else if (option == "--dxf") {
      a.dxf = line.value(option);
      if (!isDxfName(a.dxf)) throw UsageError{"--dxf must end in .dxf: '" + a.dxf + "'"};
    } else if (option == "--units") {
      if (!dxfUnitsOf(line.value(option), a.units))
        throw UsageError{"--units takes inches, mm or unitless"};
      a.unitsGiven = true;
    } else if (option == "--notches") {
      a.notches = cli::notchesArg(option, line.value(option), kMaxNotches);
    } else if (option == "--file") {
      a.file = line.value(option);
    } else if (option == "--compare") {
      a.compare = line.value(option);
      if (a.compare.empty()) throw UsageError{"--compare needs the path of a saved set"};
    } else if (option == "--set") {
      a.sets.push_back(cli::setArg(line.value(option)));
    } else if (option == "--paper") {
      const std::string& paper = line.value(option);
      if (paper == "a4" || paper == "A4")
        a.paper = ReportPaper::A4;
      else if (paper == "letter")
        a.paper = ReportPaper::Letter;
      else
        throw UsageError{"--paper is a4 or letter, not '" + paper + "'"};
    } else {
      throw UsageError{"unknown option '" + option + "' for report; try --help"};
    }
  }
  if (a.out.empty()) throw UsageError{"report needs --out FILE.pdf"};
  const bool pdf = a.out.size() >= 4 && (a.out.compare(a.out.size() - 4, 4, ".pdf") == 0 ||
                                         a.out.compare(a.out.size() - 4, 4, ".PDF") == 0);
  if (!pdf) throw UsageError{"--out must end in .pdf: '" + a.out + "'"};
  if (a.unitsGiven && a.dxf.empty()) throw UsageError{"--units is for the --dxf file"};
  return a;
}

}  // namespace

int runReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return cli::runReportingErrors(err, [&]() -> int {
    const ReportArgs a = parseReport(args);
    if (a.help) {
      out << kReportUsage;
      return kExitOk;
    }
    const Workspace ws = cli::loadWorkspace(a.file, a.sets, err);
    if (a.notches) cli::requireReachable(ws, *a.notches);
    std::optional<Workspace> reference;
    if (!a.compare.empty()) reference = cli::loadReference(a.compare);
    cli::GuiForFonts gui;
    if (!gui.usable()) {
      err << "vek1-cli: report needs a graphical Qt application\n";
      return kExitUsage;
    }
    ReportOptions options;
    options.paper = a.paper;
    options.notches = a.notches;
    const ReportWriteResult written = writeDesignReport(a.out, ws, reference ? &*reference : nullptr, options);
    if (!written.ok) {
      err << "vek1-cli: " << written.message << '\n';
      return kExitWrite;
    }
    if (!a.dxf.empty()) {
      Workspace pose = ws;
      pose.DriverAngle = 0.0f;
      pose.ReverseArmPos =
          toSingle(static_cast<double>(ws.RevArmPositions[0]) + ws.Frame[dim::RevArmToCentNorm]);
      const std::vector<double> notches = a.notches ? *a.notches : DefaultNotchOffsets(ws);
      const FileWriteResult dxf = writeGearDxf(a.dxf, gearCadDrawingOf(pose, notches), a.units);
      if (!dxf.ok) {
        err << "vek1-cli: " << dxf.message << '\n';
        return kExitWrite;
      }
    }
    out << "pages " << written.pages << '\n';
    return kExitOk;
  });
}

}  // namespace vek1
