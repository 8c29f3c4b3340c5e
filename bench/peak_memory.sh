#!/usr/bin/env bash
# Peak memory of `titlefixer squish` (and of clean and join) on a 10 MB
# letter-spaced text, as a multiple of the text's size.
# Usage: bash bench/peak_memory.sh build/release/app/titlefixer [--smart]
set -euo pipefail
bin=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
words=(g e o t h e r m a l  f i e l d s  , r e s e r v o i r  . h e a t e d  s t e a m)
: > "$work/in.txt"
line="${words[*]} "
while [[ $(stat -c %s "$work/in.txt") -lt $((10 * 1024 * 1024)) ]]; do
  printf '%s' "$line$line$line$line$line$line$line$line$line$line" >> "$work/in.txt"
done
size=$(stat -c %s "$work/in.txt")
for cmd in squish clean "join -p"; do
  kb=$( { /usr/bin/time -f %M "$bin" $cmd --no-wordlist "${@:2}" "$work/in.txt" > /dev/null; } 2>&1 | tail -1)
  echo "$cmd ${*:2}: peak $((kb / 1024)) MB for $((size / 1024 / 1024)) MB of text: $(awk -v k="$kb" -v s="$size" 'BEGIN { printf "%.1f", k * 1024 / s }') times its size"
done
