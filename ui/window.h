#pragma once

#include "ui/main_window.h"

namespace tf::ui {

// Opens the window and runs it until it is closed or Quit is pressed;
// returns the exit status: 0, or 1 with a one-line message when there is no
// display to open it on or a named word list does not exist.
int RunWindow(char* program, const WindowOptions& options);

}  // namespace tf::ui
