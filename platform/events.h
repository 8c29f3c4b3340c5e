// The program's end, and the busy cursor.
//
// Every operation runs on the GUI thread.
#pragma once

namespace tf::platform {

// Asks the program to end: hides every window and leaves the event loop as
// soon as control returns to it. Qt's clean shutdown then hands the
// clipboard over to a clipboard manager.
void End();
// True once End() has been called; false before.
bool Ending();

// Shows the hourglass over the whole screen for its lifetime; restored on
// every way out, exceptions included, and nesting is safe.
class BusyCursor final {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace tf::platform
