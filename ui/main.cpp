// Title Fixer's entry: a command runs the command line (no display needed),
// anything else opens the window.
#include "cli/cli.h"
#include "ui/window.h"

int main(int argc, char** argv) {
  if (tf::cli::WantsCommandLine(argc, argv)) return tf::cli::Run(argc, argv);
  return tf::ui::RunWindow(argc, argv);
}
