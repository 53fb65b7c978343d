// Arbitrary command lines for vek1-cli: the input is split at NUL bytes into arguments. Every run
// must end with one of the documented exit codes, say why on stderr when it is not 0, and never
// crash. Output goes to a sink that stops a run once it has written more than a long sweep would,
// so that a valid but huge sweep costs the fuzzer no more than a short one. Files that render and
// tune --out write all go to one scratch directory, and a tune search is held to a few sets, so
// that a run stays short and writes nothing outside that directory.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli.h"
#include "exit_codes.h"

namespace {

struct SinkFull {};

// Counts what is written and throws SinkFull past the limit.
class LimitedSink : public std::streambuf {
 public:
  explicit LimitedSink(std::size_t limit) : limit_(limit) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    count(1);
    return c;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    count(static_cast<std::size_t>(n));
    return n;
  }

 private:
  void count(std::size_t n) {
    written_ += n;
    if (written_ > limit_) throw SinkFull{};
  }
  std::size_t limit_;
  std::size_t written_ = 0;
};

constexpr std::size_t kOutputLimit = 1 << 20;
constexpr std::size_t kMaxArgs = 24;

// The scratch file for an --out path. A known extension is kept as written (its letter case
// too), since it chooses the format; any other becomes "x", so the directory holds a few files
// however long the run.
std::string scratchPath(const std::string& given) {
  static const std::filesystem::path dir = [] {
    std::filesystem::path d = std::filesystem::temp_directory_path() / "vek1-fuzz-out";
    std::filesystem::create_directories(d);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(std::filesystem::temp_directory_path() / "vek1-fuzz-out",
                                  ignored);
    });
    return d;
  }();
  const std::size_t dot = given.rfind('.');
  std::string extension = dot == std::string::npos ? "" : given.substr(dot + 1);
  std::string lower = extension;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower != "png" && lower != "svg" && lower != "pdf" && lower != "dve") extension = "x";
  return (dir / ("out." + extension)).string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  std::string arg;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(arg);
      arg.clear();
    } else {
      arg.push_back(static_cast<char>(data[i]));
    }
  }
  if (size > 0) args.push_back(arg);
  if (args.size() > kMaxArgs) return -1;  // not kept in the corpus
  for (std::size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == "--out") args[i + 1] = scratchPath(args[i + 1]);
  // The last --max-evaluations counts; a search of thousands of sets is no new path.
  if (!args.empty() && args[0] == "tune") {
    args.push_back("--max-evaluations");
    args.push_back("3");
  }

  LimitedSink sink(kOutputLimit);
  std::ostream out(&sink);
  // The stream hands the sink's exception on instead of turning it into a failed state.
  out.exceptions(std::ios::badbit);
  std::ostringstream err;
  int code = 0;
  try {
    code = vek1::runCli(args, out, err);
  } catch (const SinkFull&) {
    return 0;
  }
  const std::string message = err.str();
  if (!vek1::isDocumentedExitCode(code)) {
    std::fprintf(stderr, "undocumented exit code %d\n", code);
    std::abort();
  }
  if (code != vek1::kExitOk && (message.empty() || message.back() != '\n')) {
    std::fprintf(stderr, "exit code %d without a message line\n", code);
    std::abort();
  }
  return 0;
}
