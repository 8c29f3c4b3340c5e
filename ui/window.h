#pragma once

namespace tf::ui {

// Opens the window and runs it until it is closed or Quit is pressed;
// returns the exit status (1 with a one-line message when there is no
// display to open it on, 2 on a usage error).
int RunWindow(int argc, char** argv);

}  // namespace tf::ui
