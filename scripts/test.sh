#!/usr/bin/env bash
# Sets up, builds and runs every test (see the README): the release build's
# whole suite, then the same suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer (the fuzzers' saved inputs are replayed in
# both).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"
