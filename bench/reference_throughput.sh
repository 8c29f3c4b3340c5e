#!/usr/bin/env bash
# References a second, whole process, one core: `titlefixer reference -l`
# over 10,000 lines, two ways: the twenty real-looking references of
# bench/data/references.txt, each 500 times; and 10,000 different made-up
# ones (SCOWL's words, a fixed seed), whose weights and dictionary look-ups
# do not stay in the caches. Prints the median of seven runs of each, in
# processor time (user and system: the program uses one thread, and on a
# shared machine the wall clock also counts other guests' turns).
# Usage: bash bench/reference_throughput.sh build/release/app/titlefixer
set -euo pipefail
bin=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for _ in $(seq 500); do cat "$here/data/references.txt"; done > "$work/repeated.txt"
python3 - "$work/different.txt" <<'PY'
import random, sys
words = [w.strip() for w in open('/usr/share/dict/scowl/english-words.35', encoding='latin-1') if w.strip().isalpha() and w.strip().islower()]
names = [w.capitalize() for w in words if 4 <= len(w) <= 9]
r = random.Random(10000)
with open(sys.argv[1], 'w', encoding='utf-8') as out:
    for _ in range(10000):
        authors = ', '.join(f"{r.choice(names)}, {r.choice('ABCDEFGHJKLMNPRSTW')}. {r.choice('ABCDEFGHJKLMNPRSTW')}." for _ in range(r.randint(1, 4)))
        title = ' '.join(r.choice(words) for _ in range(r.randint(5, 14))).capitalize()
        journal = ' '.join(r.choice(names) for _ in range(r.randint(1, 3)))
        first = r.randint(1, 2000)
        out.write(f"{authors} ({r.randint(1950, 2024)}). {title}. {journal}, {r.randint(1, 120)}({r.randint(1, 12)}), {first}\u2013{first + r.randint(1, 30)}.\n")
PY
for input in repeated different; do
  times=()
  for _ in 1 2 3 4 5 6 7; do
    times+=("$( { /usr/bin/time -f "%U %S" "$bin" reference -l < "$work/$input.txt" > /dev/null; } 2>&1 | tail -1 | awk '{ print $1 + $2 }')")
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 4p)
  lines=$(wc -l < "$work/$input.txt")
  echo "$input: $lines lines in $median s, $(awk -v n="$lines" -v t="$median" 'BEGIN { printf "%.0f", n / t }') references a second"
done
