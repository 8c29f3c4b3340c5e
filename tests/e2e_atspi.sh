#!/usr/bin/env bash
# The window as a screen reader meets it, end to end: a private session
# bus, the accessibility bus (at-spi2-core), a window manager (openbox), and
# the program on Xvfb; e2e_atspi.py reads every control's name, role and
# description through AT-SPI, then drives every command from the keyboard
# alone (xdotool keys) and checks the clipboard and what AT-SPI reports.
# Usage: e2e_atspi.sh TITLEFIXER X11_HELPER [SCALE]   (run under xvfb-run);
# SCALE is Qt's scale factor for the window (QT_SCALE_FACTOR).
set -euo pipefail

source "$(dirname "$(readlink -f "$0")")/e2e_lib.sh" "$@"
HERE=$(dirname "$(readlink -f "$0")")

# A session bus of this test's own (dbus-daemon forks; it prints its PID).
dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 3>"$WORK/bus.address" 4>"$WORK/bus.pid"
OTHERS+=("$(cat "$WORK/bus.pid")")
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$WORK/bus.address")

# The accessibility bus, as a desktop session starts it; it ends the bus
# it launched when it is ended.
/usr/libexec/at-spi-bus-launcher --launch-immediately &
OTHERS+=($!)
start_window_manager
for _ in $(seq 50); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
  sleep 0.1
done

put_clipboard 'the geology of\r\n\tnew zealand; smith, j.r.'
# Qt speaks to the accessibility bus when a screen reader runs; here none
# announces itself, so the program is told to.
QT_SCALE_FACTOR=${3:-1} QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$BIN" 2>"$WORK/stderr" &
PID=$!
WIN=$(timeout 20 xdotool search --sync --onlyvisible --name "Quorvel's Title Fixer Program" | head -1)
# The keys go to the active window. On a busy machine the window manager
# may not have taken the window in yet when it first shows, and then
# ignores the request: ask until the window is active (or 20 s pass).
active=
for _ in $(seq 100); do
  xdotool windowactivate "$WIN" 2>/dev/null || true
  sleep 0.2
  [[ "$(xdotool getactivewindow 2>/dev/null)" == "$WIN" ]] && active=yes && break
done
if [[ -z $active ]]; then
  echo "FAILED: the window became the active one (active: $(xdotool getactivewindow 2>&1), ours: $WIN)"
  echo "  the window manager printed:"; sed 's/^/  /' "$WORK/wm.log"
  exit 1
fi
echo "ok: the window is the active one"

# The driver prints "ok:" and "FAILED:" lines like the other scripts.
/usr/bin/python3 "$HERE/e2e_atspi.py" "$PID" "$WORK" | tee "$WORK/driver.out"
passed=$(grep -c '^ok:' "$WORK/driver.out" || true)
failed=$(grep -c '^FAILED:' "$WORK/driver.out" || true)
[[ $passed -gt 0 ]] || failed=$((failed + 1))

for _ in $(seq 50); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$PID" 2>/dev/null; then
  failed=$((failed + 1)); echo "FAILED: Ctrl+Q ended the program"
else
  wait "$PID" && status=0 || status=$?
  printf '0' > expected; printf '%s' "$status" > actual
  check "Ctrl+Q ended the program with status 0" expected actual
fi
PID=

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
