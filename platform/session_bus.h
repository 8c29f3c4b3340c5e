// The desktop's session bus, asked whether it answers before Qt is let near
// it: Qt's D-Bus calls (the global menu bar, the accessibility bridge, the
// portal) wait up to 25 seconds each for a bus that accepts connections and
// never answers, and the window would not appear meanwhile.
#pragma once

#include <string>

namespace tf::platform {

// Whether the session bus named by DBUS_SESSION_BUS_ADDRESS answers the
// start of a D-Bus handshake within `milliseconds`. A bus that cannot be
// reached at all fails at once, so only a hung one costs the wait. An
// address that is not a Unix socket's is taken as answering (it is not
// asked).
bool SessionBusAnswers(int milliseconds);

// Makes this process (and what it starts) see no session bus, so that
// nothing in it waits on one; Qt then goes without the bus's services.
void ForgetSessionBus();

}  // namespace tf::platform
