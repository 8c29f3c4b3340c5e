#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Title
# Fixer need; does nothing (quickly) when they are all there. With --build,
# only what building and running the program needs (the README's first
# command).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins libicu-dev fonts-dejavu-core scowl libx11-dev
)
[[ ${1-} == --build ]] || packages+=(
  libgtest-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth xclip xdotool libx11-dev
  dpkg-dev file time lintian bibtool dbus-daemon libpugixml-dev python3
  appstream appstream-util bash-completion
  at-spi2-core python3-pyatspi openbox x11-utils
  biber python3-pybtex pandoc citation-style-language-styles
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [[ "$status" == installed ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
