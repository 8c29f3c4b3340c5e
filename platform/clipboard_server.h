// A command run on the clipboard (--clipboard): the clipboard's text is the
// input and the result replaces it. The command returns once the result is
// on the clipboard; a small process it started serves it from then on, as
// X11 needs, until another program takes the clipboard or a clipboard
// manager has taken the text over.
#pragma once

#include "cli/cli.h"

namespace tf::platform {

// Returns the exit status: 0 once the result is on the clipboard; 1 (after
// a one-line message) when there is no display, the clipboard holds no
// text (it is then left as it was), or the server could not start.
int RunOnClipboard(char* program, const cli::Invocation& invocation);

}  // namespace tf::platform
