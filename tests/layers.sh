#!/usr/bin/env bash
# The folders' order, as the README's table gives it: a folder may include
# and link only itself and the folders above it. Fails on any edge that
# goes the other way, naming it.
# Usage: layers.sh SOURCE_DIR
set -euo pipefail
cd "$1"
order=(text squish io smart reference engine cli platform ui app)
rank() {  # the folder's place in the order, or nothing
  local k
  for k in "${!order[@]}"; do [[ ${order[$k]} == "$1" ]] && echo "$k" && return; done
  return 0
}
wrong=0
for folder in "${order[@]}"; do
  mine=$(rank "$folder")
  # Includes of another folder's headers.
  while IFS=: read -r file line used; do
    theirs=$(rank "$used")
    [[ -z $theirs || $theirs -le $mine ]] && continue
    echo "$file:$line: $folder includes $used, which stands below it"
    wrong=$((wrong + 1))
  done < <(grep -rnoE '^#include "[a-z]+/' "$folder" --include='*.cpp' --include='*.h' |
           sed -E 's/^([^:]+):([0-9]+):#include "([a-z]+)\//\1:\2:\3/')
  # Libraries linked in the folder's CMakeLists.txt (tf_<folder>, tf_<folder>_core).
  while IFS=: read -r line used; do
    theirs=$(rank "$used")
    [[ -z $theirs || $theirs -le $mine ]] && continue
    echo "$folder/CMakeLists.txt:$line: $folder links tf_$used, which stands below it"
    wrong=$((wrong + 1))
  done < <(grep -noE '\btf_[a-z]+' "$folder/CMakeLists.txt" | sed -E 's/^([0-9]+):tf_([a-z]+)/\1:\2/')
done
# The front ends go through the engine: the command line and the window
# include and link no folder of the core but engine/ (the window also
# stands on platform/).
declare -A doors=([cli]="cli engine" [ui]="ui engine platform")
for front in "${!doors[@]}"; do
  while IFS=: read -r file line used; do
    [[ " ${doors[$front]} " == *" $used "* || -z $(rank "$used") ]] && continue
    echo "$file:$line: $front includes $used; it goes through the engine"
    wrong=$((wrong + 1))
  done < <(grep -rnoE '^#include "[a-z]+/' "$front" --include='*.cpp' --include='*.h' |
           sed -E 's/^([^:]+):([0-9]+):#include "([a-z]+)\//\1:\2:\3/')
  while IFS=: read -r line used; do
    [[ " ${doors[$front]} " == *" $used "* || -z $(rank "$used") ]] && continue
    echo "$front/CMakeLists.txt:$line: $front links tf_$used; it goes through the engine"
    wrong=$((wrong + 1))
  done < <(grep -noE '\btf_[a-z]+' "$front/CMakeLists.txt" | sed -E 's/^([0-9]+):tf_([a-z]+)/\1:\2/')
done
if [[ $wrong -ne 0 ]]; then
  echo "$wrong edges against the order"
  exit 1
fi
echo "every include and link follows the order: ${order[*]}"
