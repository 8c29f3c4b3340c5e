#!/usr/bin/env bash
# Reference lists as they come out of real PDFs: lists of held-out
# references typeset by groff (ms: hanging or numbered entries, one or two
# columns, justified and hyphenated, running heads and page numbers), made
# into PDFs, read back by pdftotext in its -raw order (the order the page
# was written in) and, for one-column pages, in its reading order (for two
# columns it interleaves their lines) and with -layout (indents and margins
# kept as spaces), and the finder scored on what came out.
# Where pdfminer's pdf2txt (python3-pdfminer) and MuPDF's mutool
# (mupdf-tools) are at hand, the one-column lists are read by them too.
# Usage: typeset_lists.sh REFERENCE_LISTS DATA_DIR [LISTS] [SEED]
# Needs groff and poppler-utils (not the build's or the tests' dependencies).
# KEEP=DIR keeps what it made in DIR (emptied first).
set -euo pipefail
tool=$(readlink -f "$1") data=$2 lists=${3:-100} seed=${4:-20261208}
if [ -n "${KEEP:-}" ]; then
  work=$KEEP  # the lists, PDFs and texts stay there, to look at
  rm -rf "$work" && mkdir -p "$work"
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
mkdir "$work/made" "$work/raw" "$work/reading" "$work/layout" "$work/pdfminer" "$work/mupdf"
miner=$(command -v pdf2txt || true) mupdf=$(command -v mutool || true)
"$tool" "$data" --held-out --roff "$work/made" --lists "$lists" --seed "$seed"
one=0
for ((l = 0; l < lists; ++l)); do
  base=$work/made/list$l
  groff -k -Kutf8 -ms -Tpdf -ww "$base.ms" > "$base.pdf" 2>/dev/null
  pdftotext -enc UTF-8 -raw "$base.pdf" "$work/raw/list$l.txt"
  cp "$base.truth" "$work/raw/list$l.truth"
  if ! grep -q '^\.2C' "$base.ms"; then
    pdftotext -enc UTF-8 "$base.pdf" "$work/reading/list$one.txt"
    cp "$base.truth" "$work/reading/list$one.truth"
    pdftotext -enc UTF-8 -layout "$base.pdf" "$work/layout/list$one.txt"
    cp "$base.truth" "$work/layout/list$one.truth"
    if [ -n "$miner" ]; then
      "$miner" "$base.pdf" > "$work/pdfminer/list$one.txt" 2>/dev/null
      cp "$base.truth" "$work/pdfminer/list$one.truth"
    fi
    if [ -n "$mupdf" ]; then
      "$mupdf" draw -q -F txt -o "$work/mupdf/list$one.txt" "$base.pdf" 2>/dev/null
      cp "$base.truth" "$work/mupdf/list$one.truth"
    fi
    one=$((one + 1))
  fi
done
echo "pdftotext -raw, all lists:"; "$tool" - --score "$work/raw" --show "${SHOW:-0}"
echo "pdftotext in reading order, the one-column lists:"; "$tool" - --score "$work/reading" --show "${SHOW:-0}"
echo "pdftotext -layout, the one-column lists:"; "$tool" - --score "$work/layout" --show "${SHOW:-0}"
if [ -n "$miner" ]; then echo "pdfminer's pdf2txt, the one-column lists:"; "$tool" - --score "$work/pdfminer" --show "${SHOW:-0}"; fi
if [ -n "$mupdf" ]; then echo "mutool draw -F txt, the one-column lists:"; "$tool" - --score "$work/mupdf" --show "${SHOW:-0}"; fi
