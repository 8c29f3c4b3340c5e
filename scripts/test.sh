#!/usr/bin/env bash
# Sets up, builds and runs every test (see the README).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release
