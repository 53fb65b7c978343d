#pragma once
// What every vek1-cli command shares: reading numbers and dimension settings from the command
// line, and making the working set the options describe.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "workspace.h"

namespace vek1::cli {

// A command line that cannot be carried out; the message is printed as one line.
struct UsageError {
  std::string message;
};
// A file named on the command line that cannot be read or is not a dimension file.
struct InputError {
  std::string message;
};

// Walks a command line option by option; an option's value is the argument after it.
class ArgReader {
 public:
  ArgReader(const std::vector<std::string>& args, size_t first) : args_(args), at_(first) {}
  bool more() const { return at_ < args_.size(); }
  const std::string& option() { return args_[at_++]; }
  // The value of `option`, or a UsageError when the line ends before it.
  const std::string& value(const std::string& option) {
    if (!more()) throw UsageError{option + " needs a value"};
    return args_[at_++];
  }

 private:
  const std::vector<std::string>& args_;
  size_t at_;
};

// A finite number that fits a single, or a UsageError naming the option.
double numberArg(const std::string& option, const std::string& text);
// A dimension identifier (1..18, 101..122) written as a whole number.
int idArg(const std::string& text);
// ID=VALUE of --set, with ID a dimension identifier.
std::pair<int, float> setArg(const std::string& text);
// Comma-separated numbers, each as numberArg reads it; more than `most` is a UsageError.
std::vector<double> numberList(const std::string& option, const std::string& text, size_t most);
// A list of notches: "default" (nothing: the command's own default notches) or numberList.
std::optional<std::vector<double>> notchesArg(const std::string& option, const std::string& text,
                                              size_t most);
// A UsageError for the first notch the set's reverse arm cannot reach, naming the offsets it
// does reach: such a notch has no pose, and figures from a made-up one would mislead.
void requireReachable(const GearSet& ws, const std::vector<double>& notches);

struct SetOptions {
  std::string file;                         // a saved set to start from; empty for the factory set
  std::vector<std::pair<int, float>> sets;  // --set, in order
  std::optional<double> revarm;             // absolute reverse-arm position
  std::optional<double> revarmOffset;       // offset from the mid-gear centre
};

// The factory set or the file's, with the --set changes, the centre recomputed and the reverse
// arm placed. A file that cannot be read is an InputError. The two reverse-arm limits keep
// Norm <= Max as the frame dialog does, with a line on `notes` when a value was held.
// `asRead`, when given, receives the set as the file or the factory holds it, before the --set
// changes.
Workspace prepareWorkspace(const SetOptions& o, std::ostream& notes, Workspace* asRead = nullptr);

// Runs a command's body: its own exit code, or for a UsageError or an InputError the error's
// line on `err` and the exit code for it.
int runReportingErrors(std::ostream& err, const std::function<int()>& body);
// The same without placing the reverse arm: it stays where the file or the factory set has it.
// A set to compare with, read from PATH for --compare: an older file by its ".ovk" (in any case),
// over the factory set; any other as a native file. No --set applies to it. A file that cannot
// be read is an InputError naming --compare.
Workspace loadReference(const std::string& path);

Workspace loadWorkspace(const std::string& file, const std::vector<std::pair<int, float>>& sets,
                        std::ostream& notes, Workspace* asRead = nullptr);

}  // namespace vek1::cli
