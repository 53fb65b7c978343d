#pragma once
// Reads what vek1-cli printed with Python's own json and csv modules, so a test checks the text
// against a standard reader rather than against our own parsing.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace vek1::testing {

// Runs `code` with `text` read as `data` (json.load, or the rows of csv.DictReader for
// "csv"); what it prints, or "(failed)" at the end when Python stopped with an error.
inline std::string readWithPython(const std::string& text, const std::string& code,
                                  const char* format = "json") {
  std::string path = ::testing::TempDir() + "vek1-read-XXXXXX";
  const int fd = ::mkstemp(path.data());
  if (fd < 0) return "(failed)";
  ::close(fd);
  std::ofstream(path, std::ios::binary) << text;
  const std::string load = std::string(format) == "csv"
                               ? "data=list(csv.DictReader(open(sys.argv[1], newline='')))"
                               : "data=json.load(open(sys.argv[1]))";
  const std::string command =
      "python3 -c \"import csv,json,sys\n" + load + "\n" + code + "\" '" + path + "' 2>&1";
  std::string output;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    if (::pclose(pipe) != 0) output += "(failed)";
  }
  ::unlink(path.c_str());
  return output;
}

}  // namespace vek1::testing
