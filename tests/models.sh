#!/usr/bin/env bash
# The models in reference/model/ are what the trainers make from the
# labelled references, byte for byte: a change to the features or to the
# data that does not come with the models made again fails here. Skipped
# (77) where the labelled references are not beside the project.
# Usage: models.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source=$1
build=$2
data=${TF_REFDATA:-$source/../shared/refdata}
if [ ! -f "$data/core.xml" ]; then
  echo "no labelled references at $data: skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
model=$source/reference/model
/usr/bin/python3 "$source/reference/training/styles.py" --write "$work/styled.xml" "$data" > /dev/null
cmp "$work/styled.xml" "$model/styled.xml"
"$build/reference/training/reference_train" "$data" "$model/labelled.xml" --also "$model/styled.xml" \
  "$work/reference.model" > /dev/null 2>&1
cmp "$work/reference.model" "$model/reference.model"
"$build/reference/training/reference_lists" "$data" --train "$work/finder_weights.inc" --lists 10000 --seed 7 > /dev/null
cmp "$work/finder_weights.inc" "$model/finder_weights.inc"
echo "styled.xml, reference.model and finder_weights.inc made again byte for byte"
