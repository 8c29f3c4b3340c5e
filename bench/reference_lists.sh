#!/usr/bin/env bash
# A pasted bibliography, whole process: `titlefixer reference --format
# bibtex` on lists of 1,000 and 10,000 references (wrapped at 80 columns,
# numbered "[n]" and in author-year style, with a heading and page numbers),
# made up from SCOWL's words with a fixed seed. Prints the time of each
# (best of three), their ratio, and the peak memory as a multiple of the
# text's size.
# Usage: bash bench/reference_lists.sh build/release/app/titlefixer
set -euo pipefail
bin=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" <<'PY'
import random, sys, textwrap
words = [w.strip() for w in open('/usr/share/dict/scowl/english-words.35', encoding='latin-1') if w.strip().isalpha() and w.strip().islower()]
names = [w.capitalize() for w in words if 4 <= len(w) <= 9]
def reference(r, n, numbered):
    authors = ', '.join(f"{r.choice(names)}, {r.choice('ABCDEFGHJKLMNPRSTW')}. {r.choice('ABCDEFGHJKLMNPRSTW')}." for _ in range(r.randint(1, 4)))
    title = ' '.join(r.choice(words) for _ in range(r.randint(5, 14))).capitalize()
    journal = ' '.join(r.choice(names) for _ in range(r.randint(1, 3)))
    first = r.randint(1, 2000)
    text = f"{authors} ({r.randint(1950, 2024)}). {title}. {journal}, {r.randint(1, 120)}({r.randint(1, 12)}), {first}\u2013{first + r.randint(1, 30)}."
    return (f"[{n}] " if numbered else '') + text
for count in (1000, 10000):
    r = random.Random(count)
    numbered = True
    out = ['References']
    line = 0
    for n in range(1, count + 1):
        for piece in textwrap.wrap(reference(r, n, numbered), 80):
            out.append(piece)
            line += 1
            if line % 50 == 0:
                out.append(str(line // 50))
    open(f"{sys.argv[1]}/list{count}.txt", 'w', encoding='utf-8').write('\n'.join(out) + '\n')
PY
best() {  # the best of three wall times, in seconds
  local t b=999
  for _ in 1 2 3; do
    t=$( { /usr/bin/time -f %e "$bin" reference --format bibtex "$1" > /dev/null; } 2>&1 | tail -1)
    b=$(awk -v a="$t" -v b="$b" 'BEGIN { print (a < b) ? a : b }')
  done
  echo "$b"
}
t1=$(best "$work/list1000.txt")
t10=$(best "$work/list10000.txt")
entries=$("$bin" reference --format bibtex "$work/list1000.txt" | grep -c '^@')
echo "1,000 references ($(($(stat -c %s "$work/list1000.txt") / 1024)) KB): ${t1} s, $entries entries"
echo "10,000 references ($(($(stat -c %s "$work/list10000.txt") / 1024)) KB): ${t10} s, $(awk -v a="$t10" -v b="$t1" 'BEGIN { printf "%.1f", a / b }') times the time"
for n in 1000 10000; do
  size=$(stat -c %s "$work/list$n.txt")
  kb=$( { /usr/bin/time -f %M "$bin" reference --format bibtex "$work/list$n.txt" > /dev/null; } 2>&1 | tail -1)
  echo "peak memory, $n references: $((kb / 1024)) MB, $(awk -v k="$kb" -v s="$size" 'BEGIN { printf "%.1f", k * 1024 / s }') times the text"
done
