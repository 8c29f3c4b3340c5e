// Title Fixer's entry: a command runs the command line (no display needed);
// without one, or with --clipboard, the window's program takes over.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli.h"

namespace {

#ifdef TF_WITH_WINDOW
// The window's program: beside this one (the build tree), else where it is
// installed relative to it.
std::string WindowProgram() {
  char self[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return {};
  std::string folder(self, static_cast<size_t>(n));
  folder.erase(folder.rfind('/') + 1);
  const std::string beside = folder + "titlefixer-window";
  return ::access(beside.c_str(), X_OK) == 0 ? beside : folder + TF_WINDOW_FROM_BIN;
}

int StartWindowProgram(char** argv) {
  const std::string program = WindowProgram();
  ::execv(program.c_str(), argv);
  tf::engine::Complain("cannot start the window's program " + program + ": " + std::strerror(errno));
  return 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const tf::cli::Start start = tf::cli::Begin(argc, argv);
  if (start.stop) return *start.stop;
  const tf::cli::Invocation& inv = start.invocation;
  const bool needsQt = (inv.clipboard || inv.command == tf::cli::Command::Window) && !inv.help && !inv.version;
  if (!needsQt) return tf::cli::Run(inv);
#ifdef TF_WITH_WINDOW
  return StartWindowProgram(argv);
#else
  tf::engine::Complain(inv.clipboard ? "this build has no clipboard; use FILEs or standard input"
                                     : "this build has no window; see 'titlefixer --help' for the commands");
  return 1;
#endif
}
