# What the end-to-end scripts share: their start, checks, the clipboard
# through xclip, and ending the processes they started, by PID only.
# Sourced first, with the script's arguments: TITLEFIXER X11_HELPER.

# A working folder of the script's own, which is also HOME, and the X11
# platform whatever the caller's session uses.
BIN=$(readlink -f "$1")
HELPER=$(readlink -f "$2")
WORK=$(mktemp -d)
export HOME=$WORK XDG_CONFIG_HOME=$WORK/config
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
cd "$WORK"

# Every process this script starts is ended by its PID, never by its name:
# on a user's machine a name would match their own programs too.
PID= MANAGER= XCLIPS=() OTHERS=()
cleanup() {
  [[ -n $PID ]] && kill "$PID" 2>/dev/null || true
  [[ -n $MANAGER ]] && kill "$MANAGER" 2>/dev/null || true
  for x in "${XCLIPS[@]}" "${OTHERS[@]}"; do kill "$x" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

# A window manager, as on a desktop: windows get frames and the focus. It is
# ready when it says it supports activating a window, which is what the
# scripts ask of it; one that exits or never gets there ends the script,
# with what it printed.
start_window_manager() {
  openbox --sm-disable >"$WORK/wm.log" 2>&1 &
  local wm=$!
  OTHERS+=($wm)
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTED 2>/dev/null | grep -q '_NET_ACTIVE_WINDOW' && return 0
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.1
  done
  echo "FAILED: the window manager started; it printed:"
  sed 's/^/  /' "$WORK/wm.log"
  exit 1
}

passed=0 failed=0
check() {  # name expected-file actual-file
  if cmp -s "$2" "$3"; then
    passed=$((passed + 1)); echo "ok: $1"
  else
    failed=$((failed + 1)); echo "FAILED: $1"
    echo "  expected: $(od -c "$2" | head -3)"; echo "  actual:   $(od -c "$3" | head -3)"
  fi
}

# xclip serves the clipboard until another program takes it; -quiet keeps it
# in the foreground, so that its PID is ours to end. A reader is given 5 s: a
# sender that stops part-way shows as a failed check, not a hung script.
put_clipboard() {
  printf '%b' "$1" > "$WORK/clip-in"
  xclip -selection clipboard -i -quiet "$WORK/clip-in" >/dev/null 2>&1 &
  XCLIPS+=($!)
  for _ in $(seq 50); do
    timeout 5 xclip -selection clipboard -o > "$WORK/clip-out" 2>/dev/null && cmp -s "$WORK/clip-in" "$WORK/clip-out" && break
    sleep 0.1
  done
}
# Waits until the clipboard holds $1 (printf %b escapes) or 5 s pass, then
# checks it.
expect_clipboard() {
  printf '%b' "$2" > expected
  for _ in $(seq 50); do
    timeout 5 xclip -selection clipboard -o > actual 2>/dev/null || : > actual
    cmp -s expected actual && break
    sleep 0.1
  done
  check "$1" expected actual
}

# A session bus that takes connections and never answers: HUNG_BUS is its
# address once it listens.
start_hung_bus() {
  python3 -c '
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
s.listen(64)
held = []
while True:
    held.append(s.accept()[0])
' "$WORK/hung-bus" &
  OTHERS+=($!)
  for _ in $(seq 50); do [[ -S $WORK/hung-bus ]] && break; sleep 0.1; done
  HUNG_BUS=unix:path=$WORK/hung-bus
}

# Starts the test's clipboard manager (x11_helper manager) and waits until
# it is ready.
start_manager() {
  "$HELPER" manager "$WORK/saved" > "$WORK/manager.out" &
  MANAGER=$!
  for _ in $(seq 50); do grep -q ready "$WORK/manager.out" 2>/dev/null && break; sleep 0.1; done
}
stop_manager() {
  kill "$MANAGER"; wait "$MANAGER" 2>/dev/null || true
  MANAGER=
}
