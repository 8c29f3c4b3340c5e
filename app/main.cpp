// Title Fixer's entry: a command runs the command line (no display needed);
// without one, the window opens.
#include "cli/cli.h"
#ifdef TF_WITH_WINDOW
#include "app/clipboard.h"
#include "ui/window.h"
#endif

#include <cstdio>

int main(int argc, char** argv) {
  tf::cli::GuardStandardStreams();
  const tf::cli::Parsed parsed = tf::cli::Parse(argc, argv);
  if (!parsed.error.empty()) return tf::cli::UsageError(parsed.error);
  const tf::cli::Invocation& inv = parsed.invocation;
  if (inv.clipboard && !inv.help && !inv.version) {
#ifdef TF_WITH_WINDOW
    return tf::app::RunOnClipboard(argv[0], inv);
#else
    std::fputs("titlefixer: this build has no clipboard; use FILEs or standard input\n", stderr);
    return 1;
#endif
  }
  if (inv.command != tf::cli::Command::Window || inv.help || inv.version) return tf::cli::Run(inv);
#ifdef TF_WITH_WINDOW
  return tf::ui::RunWindow(argv[0], {inv.wordList, inv.mode});
#else
  std::fputs("titlefixer: this build has no window; see 'titlefixer --help' for the commands\n", stderr);
  return 1;
#endif
}
