#!/usr/bin/env bash
# Time from starting titlefixer to its window on screen showing the clipboard
# text, with a 30,000-word list, on a virtual X server. Prints the median of
# five starts. Usage: xvfb-run -a bash bench/startup_time.sh build/release/app/titlefixer
set -euo pipefail
bin=$(readlink -f "$1")
work=$(mktemp -d)
xclip_pid=
# Only what this script started is ended, by PID.
trap '[[ -n $xclip_pid ]] && kill "$xclip_pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
# 30,000 different words made of syllables, like a user's list.
awk 'BEGIN { srand(7); split("geo ther mal re ser voir frac ture per mea bil ity hy dro sil ica stra ti gra phic al te ra tion vol can ic en ba salt an de site tuff lo gy mo del ling ous ment ly", s, " ");
  while (n < 30000) { w = ""; k = 2 + int(rand() * 4); for (i = 0; i < k; i++) w = w s[1 + int(rand() * 42)];
    if (!(w in seen)) { seen[w] = 1; print w; n++ } } }' > wordlist.txt
printf 'THE GEOLOGY OF THE WAIRAKEI GEOTHERMAL FIELD\r\nNEW ZEALAND; grindley, g.w.' > clip.txt
if [[ -n ${2:-} && ${2:-} != 0 ]]; then
  line=$(printf 'SMITH, J.R., the geology of the geothermal field; in Proc. World Geothermal Congress, 2010.\r\n')
  : > clip.txt
  while [[ $(stat -c %s clip.txt) -lt $(($2 * 1024 * 1024)) ]]; do
    for _ in $(seq 1000); do printf '%s\n' "$line"; done >> clip.txt
  done
fi
xclip -selection clipboard -i -quiet clip.txt >/dev/null 2>&1 &
xclip_pid=$!
sleep 0.3
times=()
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  "$bin" "${@:3}" 2>/dev/null &
  pid=$!
  # At most 20 s: a window that never appears is a failure, not a hang.
  deadline=$((start + 20000000000))
  until xdotool search --onlyvisible --name "Quorvel's Title Fixer Program" >/dev/null 2>&1; do
    if (( $(date +%s%N) > deadline )); then
      echo "the window did not appear within 20 s" >&2
      kill "$pid" 2>/dev/null
      exit 1
    fi
  done
  end=$(date +%s%N)
  times+=($(((end - start) / 1000000)))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start to window on screen (ms): ${times[*]}; median ${sorted[2]}"
