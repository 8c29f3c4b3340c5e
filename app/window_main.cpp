// The window's program, started by titlefixer with the same arguments: the
// window, or a command run on the clipboard (--clipboard).
#include "platform/clipboard_server.h"
#include "cli/cli.h"
#include "ui/window.h"

int main(int argc, char** argv) {
  const tf::cli::Start start = tf::cli::Begin(argc, argv);
  if (start.stop) return *start.stop;
  const tf::cli::Invocation& inv = start.invocation;
  if (inv.clipboard) return tf::platform::RunOnClipboard(argv[0], inv);
  if (inv.command != tf::cli::Command::Window) return tf::cli::Run(inv);
  return tf::ui::RunWindow(argv[0], {inv.wordList, inv.mode});
}
