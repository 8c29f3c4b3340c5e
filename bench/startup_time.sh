#!/usr/bin/env bash
# Time from starting titlefixer to its window on screen showing the clipboard
# text, with a 30,000-word list, on a virtual X server. Prints the median of
# five starts. Usage: xvfb-run -a bash bench/startup_time.sh build/release/ui/titlefixer
set -euo pipefail
bin=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"; pkill -f "xclip -selection clipboard" || true' EXIT
cd "$work"
# 30,000 different words made of syllables, like a user's list.
awk 'BEGIN { srand(7); split("geo ther mal re ser voir frac ture per mea bil ity hy dro sil ica stra ti gra phic al te ra tion vol can ic en ba salt an de site tuff lo gy mo del ling ous ment ly", s, " ");
  while (n < 30000) { w = ""; k = 2 + int(rand() * 4); for (i = 0; i < k; i++) w = w s[1 + int(rand() * 42)];
    if (!(w in seen)) { seen[w] = 1; print w; n++ } } }' > wordlist.txt
printf 'THE GEOLOGY OF THE WAIRAKEI GEOTHERMAL FIELD\r\nNEW ZEALAND; grindley, g.w.' | xclip -selection clipboard -i
times=()
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  "$bin" 2>/dev/null &
  pid=$!
  until xdotool search --onlyvisible --name "Quorvel's Title Fixer Program" >/dev/null 2>&1; do :; done
  end=$(date +%s%N)
  times+=($(((end - start) / 1000000)))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start to window on screen (ms): ${times[*]}; median ${sorted[2]}"
