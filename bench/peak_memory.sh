#!/usr/bin/env bash
# Peak memory of every command, classic and smart, on 10 MB texts of the
# shapes that cost most: words letter-spaced, single letters at random (one
# run of five million letter-spaced characters), and one line of reference
# words; as a multiple of the text's size.
# Usage: bash bench/peak_memory.sh build/release/app/titlefixer
set -euo pipefail
bin=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" <<'PY'
import random, sys
size = 10 * 1024 * 1024
r = random.Random(1)
spaced = 'g e o t h e r m a l  f i e l d s , r e s e r v o i r . h e a t e d  s t e a m '
open(sys.argv[1] + '/spaced.txt', 'w').write(spaced * (size // len(spaced)))
open(sys.argv[1] + '/letters.txt', 'w').write(' '.join(r.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(size // 2)))
words = ['heat', 'flow', 'Smith,', 'J.', '(2011).', 'geothermal', 'reservoir', 'in', 'Geothermics', '38,', '1-12.']
text = []
n = 0
while n < size:
    w = r.choice(words)
    text.append(w)
    n += len(w) + 1
open(sys.argv[1] + '/reference.txt', 'w').write(' '.join(text))
PY
for shape in spaced letters reference; do
  size=$(stat -c %s "$work/$shape.txt")
  for cmd in "squish" "clean" "join -p" "authors" "title" "reference --format bibtex" "reference --format csl-json"; do
    for mode in --classic --smart; do
      [[ $cmd == reference* && $mode == --classic ]] && continue
      kb=$( { /usr/bin/time -f %M "$bin" $cmd $mode --no-wordlist "$work/$shape.txt" > /dev/null; } 2>&1 | tail -1)
      printf '%-9s %-28s %s: %5d MB, %4.1f times the text\n' "$shape" "$cmd $mode" "" $((kb / 1024)) \
        "$(awk -v k="$kb" -v s="$size" 'BEGIN { printf "%.1f", k * 1024 / s }')"
    done
  done
done
