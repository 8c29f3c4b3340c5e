#!/usr/bin/env bash
# End to end on a real X server, as a user would: text put on the clipboard
# with xclip, the program started, its buttons clicked with xdotool at their
# places on the screen, and the clipboard read back with xclip.
# Usage: e2e_x11.sh TITLEFIXER X11_HELPER   (run under xvfb-run)
set -euo pipefail

source "$(dirname "$(readlink -f "$0")")/e2e_lib.sh" "$@"
start_window_manager

start() {
  rm -f "$WORK/layout"
  TITLEFIXER_LAYOUT_FILE=$WORK/layout "$BIN" "$@" 2>"$WORK/stderr" &
  PID=$!
  WIN=$(timeout 20 xdotool search --sync --onlyvisible --name "Quorvel's Title Fixer Program" | head -1)
  # The menu bar stands above the form (the status line below it): the
  # window says where the form starts.
  for _ in $(seq 50); do [[ -s $WORK/layout ]] && break; sleep 0.1; done
  MENU=$(cat "$WORK/layout")
  sleep 0.3
}

# Button centres in twips, from the window's layout (96 dpi: 15 twips a pixel).
declare -A CX=([0]=1086 [1]=3126 [2]=5166 [3]=7206 [4]=7326 [5]=7326 [6]=7806 [7]=6846 [8]=6066)
declare -A CY=([0]=3366 [1]=3366 [2]=3300 [3]=3300 [4]=4386 [5]=5586 [6]=3846 [7]=3846 [8]=3606)
click() {
  xdotool mousemove --window "$WIN" $((CX[$1] / 15)) $((MENU + CY[$1] / 15)) click 1
  sleep 0.2
}

# Start-up, then copy the title-cased text.
put_clipboard 'the geology of\r\n\tnew zealand; smith, j.r.'
start
click 0
expect_clipboard "start-up shows the title-cased text; Copy to Clipboard" \
  'The Geology of New Zealand; Smith, J.r.'

# Under the window manager's frame, the compact height is the same at
# start-up and after More, then Less.
client_height() { xwininfo -id "$WIN" | awk '/Height:/ { print $2 }'; }
client_height > expected
click 6
click 6
sleep 0.3
client_height > actual
check "the compact height after More and Less is the start-up's" expected actual

# Refresh, open the lower part, copy authors and title.
put_clipboard 'A STUDY OF HEAT FLOW; smith, j.r. and jones, a.'
click 1
click 6
click 4
expect_clipboard "Refresh, More, Copy Authors" 'Smith, J.R. and Jones, A.'
click 5
expect_clipboard "Copy Title" 'A Study of Heat Flow'

# The two joiners, each followed by the squish.
put_clipboard 'x h e a t e d y\r\n\r\nnext , line'
click 8
click 0
expect_clipboard "the \"2\" button keeps paragraphs and squishes" 'x heated y\r\rnext, line'
put_clipboard 'x h e a t e d y\r\n\r\nnext , line'
click 2
click 0
expect_clipboard "Just strip Line Breaks joins and squishes" 'x heated y next, line'

# A user's edit, squished and copied as edited.
xdotool mousemove --window "$WIN" 200 $((MENU + 130)) click 1
xdotool key ctrl+a
xdotool type --delay 20 'x w e l l s ok'
click 7
click 0
expect_clipboard "Squish works on the user's edit" 'x wells ok'

# Waits for the program to end and checks it ended well.
expect_exit() {
  for _ in $(seq 100); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$PID" 2>/dev/null; then
    failed=$((failed + 1)); echo "FAILED: $1 (still running)"
    kill "$PID"; wait "$PID" 2>/dev/null || true  # so that later steps find only their own window
  else
    wait "$PID" && status=0 || status=$?
    printf '0' > expected; printf '%s' "$status" > actual
    check "$1" expected actual
  fi
  PID=
}

# Quit ends the program; with no clipboard manager its clipboard goes too.
click 3
expect_exit "Quit ends the program with status 0"
expect_clipboard "without a clipboard manager the copied text leaves with the program" ''

# Quit while a command runs off the GUI thread on a large clipboard: the
# window goes at once, and the program ends well, the outcome dropped.
python3 -c 'import sys; sys.stdout.write("x h e a t e d y\r\n" * 1000000)' > "$WORK/big"
xclip -selection clipboard -i -quiet "$WORK/big" >/dev/null 2>&1 &
XCLIPS+=($!)
sleep 0.5
start
click 8
click 3
expect_exit "Quit during a long join ends the program with status 0"

# With a clipboard manager running, the text stays after Quit...
start_manager
put_clipboard 'heat  flow\r\nin wells'
start
click 0
expect_clipboard "copied before Quit" 'Heat Flow in Wells'
click 3
expect_exit "Quit with a clipboard manager"
expect_clipboard "the clipboard manager holds the text after Quit" 'Heat Flow in Wells'

# ...and after the window is closed.
put_clipboard 'the tough2 code'
start
click 0
"$HELPER" close "$WIN"
expect_exit "closing the window ends the program"
expect_clipboard "the clipboard manager holds the text after closing" 'The TOUGH2 Code'
stop_manager

# The word list in the working directory is used.
printf 'andesite\r\nbasalt\r\n' > wordlist.txt
put_clipboard 'x a n d e s i t e y'
start
click 2
click 0
expect_clipboard "wordlist.txt in the working directory" 'x andesite y'
click 3
wait "$PID" || true
PID=

# A session bus that takes connections and never answers: the window opens
# all the same (without the bus), and works.
start_hung_bus
put_clipboard 'a hung bus'
DBUS_SESSION_BUS_ADDRESS=$HUNG_BUS start
printf 'opened' > expected; printf '%s' "${WIN:+opened}" > actual
check "the window opens with a hung session bus" expected actual
grep -c "session bus does not answer" "$WORK/stderr" > actual || true
printf '1\n' > expected
check "it says so in one line" expected actual
click 0
expect_clipboard "and its buttons work" 'A Hung Bus'
click 3
wait "$PID" || true
PID=

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
