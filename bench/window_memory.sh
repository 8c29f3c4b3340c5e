#!/usr/bin/env bash
# Peak memory of the window with a large clipboard, on a virtual X server:
# start-up, then Refresh, "2", Just strip Line Breaks and More, then Quit.
# Usage: xvfb-run -a -s "-screen 0 1280x1024x24" bash bench/window_memory.sh build/release/app/titlefixer [MB]
set -euo pipefail
bin=$(readlink -f "$1")
mb=${2:-50}
work=$(mktemp -d)
xclip_pid= pid=
# Only what this script started is ended, by PID.
trap '[[ -n $xclip_pid ]] && kill "$xclip_pid" 2>/dev/null; [[ -n $pid ]] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
line='SMITH, J.R., the geology of the g e o t h e r m a l field; in Proc. World Geothermal Congress, 2010.'
: > clip.txt
while [[ $(stat -c %s clip.txt) -lt $((mb * 1024 * 1024)) ]]; do
  for _ in $(seq 2000); do printf '%s\r\n' "$line"; done >> clip.txt
done
size=$(stat -c %s clip.txt)
xclip -selection clipboard -i -quiet clip.txt >/dev/null 2>&1 &
xclip_pid=$!
sleep 1
HOME=$work XDG_CONFIG_HOME=$work/config /usr/bin/time -f %M -o peak.txt "$bin" --no-wordlist 2>/dev/null &
pid=$!
start=$(date +%s%N)
win=$(timeout 120 xdotool search --sync --onlyvisible --name "Quorvel's Title Fixer Program" | head -1)
shown=$(( ($(date +%s%N) - start) / 1000000 ))
eval "$(xdotool getwindowgeometry --shell "$win")"
menu=$((HEIGHT - 4476 / 15))  # the menu bar above the form
# Button centres in twips (15 a pixel at 96 dpi), as the e2e test clicks them.
click() { xdotool mousemove $((X + $1 / 15)) $((Y + menu + $2 / 15)) click 1; sleep "$3"; }
click 3126 3366 5   # Refresh
click 6066 3606 5   # 2
click 5166 3300 5   # Just strip Line Breaks
click 7806 3846 2   # More
click 7206 3300 2   # Quit
wait "$pid" || true
pid=
kb=$(cat peak.txt)
echo "window on screen after ${shown} ms; peak $((kb / 1024)) MB for $((size / 1024 / 1024)) MB of clipboard text: $(awk -v k="$kb" -v s="$size" 'BEGIN { printf "%.1f", k * 1024 / s }') times its size"
