#include <csignal>
#include <iostream>

#include "cli.h"

int main(int argc, char** argv) {
  // A reader that closes the pipe early (head, a crashed script) makes the next write fail with
  // EPIPE, which the commands report as exit 4 with a message; left at its default, SIGPIPE
  // would kill the process with no word and a code the README does not list.
  std::signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  return vek1::runCli(args, std::cout, std::cerr);
}
