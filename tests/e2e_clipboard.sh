#!/usr/bin/env bash
# --clipboard end to end on a real X server: text put on the clipboard with
# xclip, the command run as a desktop shortcut would run it, the clipboard
# read back with xclip, and the serving process watched through the PID
# file the program writes when TITLEFIXER_CLIPBOARD_PID_FILE asks for it.
# Usage: e2e_clipboard.sh TITLEFIXER X11_HELPER   (run under xvfb-run)
set -euo pipefail

source "$(dirname "$(readlink -f "$0")")/e2e_lib.sh" "$@"

# Runs titlefixer with the arguments (at most 10 s); sets STATUS and SERVER
# (the serving process's PID, empty when none was started).
run() {
  rm -f "$WORK/server.pid"
  TITLEFIXER_CLIPBOARD_PID_FILE=$WORK/server.pid timeout 10 "$BIN" "$@" >"$WORK/out" 2>"$WORK/err" && STATUS=0 ||
    STATUS=$?
  SERVER=$(cat "$WORK/server.pid" 2>/dev/null || true)
  if [[ -n $SERVER ]]; then OTHERS+=("$SERVER"); fi
}
check_that() {  # name expected actual (strings)
  printf '%s' "$2" > expected; printf '%s' "$3" > actual
  check "$1" expected actual
}
# Whether the serving process runs: an ended one that no one has reaped yet
# (a zombie) has ended too.
server_state() {
  if kill -0 "$SERVER" 2>/dev/null && ! awk '{ exit $3 != "Z" }' "/proc/$SERVER/stat" 2>/dev/null; then
    echo running
  else
    echo ended
  fi
}
# Waits until the serving process has ended, or 10 s.
server_state_after_waiting() {
  for _ in $(seq 100); do [[ $(server_state) == ended ]] && break; sleep 0.1; done
  server_state
}

REF='Smith, J. (2020). Heat flow in geo-\r\nthermal wells.\r\nGeothermics, 1, 1-2.'

# The result replaces the clipboard, and the command returns while the
# serving process still runs.
put_clipboard "$REF"
run join --clipboard --smart --no-wordlist
check_that "join --clipboard exits with 0" 0 "$STATUS"
check_that "nothing is printed" "" "$(cat out err)"
check_that "the serving process runs after the command returned" running "$(server_state)"
expect_clipboard "the clipboard holds the joined text" \
  'Smith, J. (2020). Heat flow in geothermal wells. Geothermics, 1, 1-2.'

# Another program takes the clipboard: the serving process ends.
put_clipboard 'SECOND TEXT'
check_that "the serving process ends when another program takes the clipboard" ended "$(server_state_after_waiting)"
expect_clipboard "the other program's text is on the clipboard" 'SECOND TEXT'

# The reference command writes its record there.
put_clipboard "$REF"
run reference --format ris --clipboard --no-wordlist
check_that "reference --clipboard exits with 0" 0 "$STATUS"
expect_clipboard "the clipboard holds the RIS record" \
  'TY  - JOUR\nAU  - Smith, J.\nPY  - 2020\nTI  - Heat flow in geothermal wells\nT2  - Geothermics\nVL  - 1\nSP  - 1\nEP  - 2\nER  - \n'
put_clipboard 'x'

# With a clipboard manager that keeps only what an ending program hands
# over, the server does not end on a hand-over that may fail: it serves on
# until another program owns the clipboard, also a text of over 16 MB
# (sent in pieces).
start_manager
put_clipboard 'GEOTHERMAL RESERVOIRS; grindley, g.w.'
run title --clipboard --no-wordlist
check_that "title --clipboard with a clipboard manager exits with 0" 0 "$STATUS"
sleep 1
check_that "with a clipboard manager, the server serves on" running "$(server_state)"
expect_clipboard "the clipboard holds the title" 'Geothermal Reservoirs'
head -c $((20 * 1024 * 1024)) /dev/zero | tr '\0' 'x' > big.txt
xclip -selection clipboard -i -quiet big.txt >/dev/null 2>&1 &
XCLIPS+=($!)
for _ in $(seq 100); do [[ $(xclip -selection clipboard -o 2>/dev/null | head -c 4) == xxxx ]] && break; sleep 0.1; done
run squish --clipboard --no-wordlist
check_that "a 20 MB result: exit status 0" 0 "$STATUS"
check_that "a 20 MB result is served whole" $((20 * 1024 * 1024)) "$(timeout 60 xclip -selection clipboard -o | wc -c)"
# A reader part-way through that text when another program takes the
# clipboard still gets all of it.
"$HELPER" pause-read > reader.out &
READER=$!
OTHERS+=("$READER")
for _ in $(seq 100); do grep -q started reader.out && break; sleep 0.1; done
put_clipboard 'x'
wait "$READER" || true
check_that "a reader part-way through when another program took the clipboard gets all of it" \
  "$(printf 'started\n%d' $((20 * 1024 * 1024)))" "$(cat reader.out)"
check_that "the server ends once another program owns the clipboard" ended "$(server_state_after_waiting)"
stop_manager

# An empty clipboard and one without text are left as they were.
put_clipboard ''
run join --clipboard --no-wordlist
check_that "an empty clipboard: exit status 1" 1 "$STATUS"
check_that "an empty clipboard: said on stderr" "titlefixer: the clipboard holds no text; it is left as it was" \
  "$(cat err)"
expect_clipboard "an empty clipboard stays empty" ''
printf '\x89PNG\r\n\x1a\n' > picture.png
xclip -selection clipboard -t image/png -i -quiet picture.png >/dev/null 2>&1 &
XCLIPS+=($!)
for _ in $(seq 50); do xclip -selection clipboard -o -t TARGETS 2>/dev/null | grep -q image/png && break; sleep 0.1; done
run squish --clipboard --no-wordlist
check_that "a picture on the clipboard: exit status 1" 1 "$STATUS"
check_that "the picture is still on the clipboard" yes \
  "$(xclip -selection clipboard -o -t TARGETS 2>/dev/null | grep -q image/png && echo yes || echo no)"

# A word list read through a pipe, as <(...) gives it: read before the
# serving process starts.
put_clipboard 'the q u o r v e l field'
run squish --clipboard --wordlist <(printf 'quorvel\n')
check_that "squish --clipboard --wordlist <(...) exits with 0" 0 "$STATUS"
expect_clipboard "the word list from a pipe was used" 'the quorvel field'

# A result with nothing in it leaves the clipboard as it was.
for args in "title" "clean" "reference --format bibtex"; do
  put_clipboard ' \t '
  run $args --clipboard --no-wordlist
  check_that "$args on white space: exit status 1" 1 "$STATUS"
  check_that "$args on white space: said on stderr" \
    "titlefixer: the result is empty; the clipboard is left as it was" "$(cat err)"
  expect_clipboard "$args on white space: the clipboard is as it was" ' \t '
done
put_clipboard 'no split point here'
run title --clipboard --no-wordlist
check_that "title with no split point: exit status 1" 1 "$STATUS"
expect_clipboard "title with no split point: the clipboard is as it was" 'no split point here'

# The command ended before the server reported: the server serves on.
put_clipboard 'ENDED EARLY'
rm -f "$WORK/server.pid"
# (with SIGPIPE as a desktop starts programs, whatever this script inherited)
env --default-signal=PIPE TITLEFIXER_CLIPBOARD_PID_FILE="$WORK/server.pid" TITLEFIXER_CLIPBOARD_REPORT_DELAY_MS=1500 \
  "$BIN" clean --clipboard --no-wordlist >/dev/null 2>&1 &
COMMAND=$!
for _ in $(seq 50); do [[ -s $WORK/server.pid ]] && break; sleep 0.1; done
SERVER=$(cat "$WORK/server.pid" 2>/dev/null || true)
[[ -n $SERVER ]] && OTHERS+=("$SERVER")
for _ in $(seq 50); do [[ $(xclip -selection clipboard -o 2>/dev/null) == 'Ended Early' ]] && break; sleep 0.1; done
kill -KILL "$COMMAND" 2>/dev/null || true
wait "$COMMAND" 2>/dev/null || true
sleep 2  # past the report, which now goes nowhere
check_that "the server runs on after its command ended" running "$(server_state)"
expect_clipboard "and still serves the result" 'Ended Early'
put_clipboard 'x'
check_that "it ends once another program takes the clipboard" ended "$(server_state_after_waiting)"

# Runs at once (a shortcut key held down): every server ends once another
# program owns the clipboard.
put_clipboard 'RACING RUNS'
RACERS=()
for k in 1 2 3 4; do
  TITLEFIXER_CLIPBOARD_PID_FILE=$WORK/racer$k.pid "$BIN" clean --clipboard --no-wordlist >/dev/null 2>&1 &
  RACERS+=($!)
done
for pid in "${RACERS[@]}"; do wait "$pid" || true; done
SERVERS=()
for k in 1 2 3 4; do
  pid=$(cat "$WORK/racer$k.pid" 2>/dev/null || true)
  if [[ -n $pid ]]; then SERVERS+=("$pid"); OTHERS+=("$pid"); fi
done
put_clipboard 'THE LAST WORD'
alive=0
for SERVER in "${SERVERS[@]}"; do [[ $(server_state_after_waiting) == running ]] && alive=$((alive + 1)); done
check_that "no racing server runs once another program owns the clipboard" 0 "$alive"
expect_clipboard "the other program's text stays" 'THE LAST WORD'

# A session bus that never answers: the server needs none, and serves.
start_hung_bus
put_clipboard 'HUNG BUS'
DBUS_SESSION_BUS_ADDRESS=$HUNG_BUS run clean --clipboard --no-wordlist
check_that "with a hung session bus: exit status 0" 0 "$STATUS"
expect_clipboard "with a hung session bus: the result is served" 'Hung Bus'
put_clipboard 'x'

# No display: one line, exit status 1.
put_clipboard 'x'
STATUS=0
env -u DISPLAY "$BIN" join --clipboard >out 2>err || STATUS=$?
check_that "no display: exit status 1" 1 "$STATUS"
check_that "no display: one line on stderr" 1 "$(wc -l < err | tr -d ' ')"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
