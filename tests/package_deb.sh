#!/usr/bin/env bash
# Builds the Debian package from the build tree, has lintian check it,
# unpacks it into a scratch folder and runs what it installed.
# Usage: package_deb.sh BUILD_DIR
set -euo pipefail
build=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
deb=$(ls "$work"/out/titlefixer_*.deb)
dpkg-deb -x "$deb" root
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6
for f in usr/bin/titlefixer usr/libexec/titlefixer/titlefixer-window usr/share/applications/titlefixer.desktop \
         usr/share/metainfo/io.github.titlefixer.TitleFixer.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/titlefixer.svg \
         usr/share/icons/hicolor/32x32/apps/titlefixer.png usr/share/man/man1/titlefixer.1.gz \
         usr/share/doc/titlefixer/copyright usr/share/doc/titlefixer/changelog.gz \
         usr/share/bash-completion/completions/titlefixer; do
  [[ -e root/$f ]] || { echo "missing from the package: $f"; exit 1; }
done
# The AppStream metadata is valid to both of its checkers.
appstreamcli validate --pedantic --no-net root/usr/share/metainfo/io.github.titlefixer.TitleFixer.metainfo.xml >/dev/null
appstream-util validate --nonet root/usr/share/metainfo/io.github.titlefixer.TitleFixer.metainfo.xml >/dev/null
# The completion offers the commands and a command's own options.
out=$(bash -c 'source /usr/share/bash-completion/bash_completion 2>/dev/null; source root/usr/share/bash-completion/completions/titlefixer
  complete_line() { COMP_LINE=$1; COMP_POINT=${#1}; read -ra COMP_WORDS <<< "$1"; COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _titlefixer titlefixer "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"; echo "${COMPREPLY[*]}"; }
  complete_line "titlefixer ref"; complete_line "titlefixer reference --wh"')
[[ $out == $'reference\n--whole' ]] || { echo "completion gave: $out"; exit 1; }
# Debian's own checker finds no error in it.
lintian --fail-on error "$deb"
out=$(printf 'RESERVOIR ENGINEERING AND THE TOUGH2 CODE' | root/usr/bin/titlefixer clean)
[[ $out == 'Reservoir Engineering and the TOUGH2 Code' ]] || { echo "packaged binary printed: $out"; exit 1; }
# The command line finds the window's program where the package put it
# (without a display, the window's program says so).
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM root/usr/bin/titlefixer 2>&1 >/dev/null || true)
[[ $err == *"no display"* ]] || { echo "packaged window program not started: $err"; exit 1; }
echo "package ok: $(basename "$deb")"
