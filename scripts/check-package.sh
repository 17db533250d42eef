#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it: its fields and contents, the
# programs unpacked from it (a demo card written and listed), the AppStream metadata and
# the desktop file. Usage: scripts/check-package.sh [BUILD_DIR] (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
fail() { echo "check-package: $*" >&2; exit 1; }

rm -f "$dir"/sorvane_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
debs=("$dir"/sorvane_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single package built in $dir"
deb="${debs[0]}"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = sorvane ] || fail "package name $(field Package)"
[ "$(field Version)" = 1.05 ] || fail "version $(field Version)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
field Depends | grep -q 'libqt6core6' || fail "Depends lacks the Qt libraries: $(field Depends)"
field Depends | grep -qw 'qt6-qpa-plugins' || fail "Depends lacks the Qt platform plugins"
field Depends | grep -q 'libfluidsynth' || fail "Depends lacks the player's libraries: $(field Depends)"
field Recommends | grep -q 'timgm6mb-soundfont | fluid-soundfont-gm' ||
    fail "Recommends lacks the soundfont: $(field Recommends)"
field Recommends | grep -qw wine || fail "Recommends lacks wine: $(field Recommends)"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for path in ./usr/bin/sorvane ./usr/bin/sorvane-cli ./usr/bin/sorvane-mkdemo \
    ./usr/lib/sorvane/sorvane-cli-play.so \
    ./usr/share/applications/sorvane.desktop \
    ./usr/share/icons/hicolor/scalable/apps/sorvane.svg \
    ./usr/share/man/man1/sorvane-cli.1.gz \
    ./usr/share/metainfo/org.sorvane.sorvane.metainfo.xml \
    ./usr/share/sorvane/help/index.html ./usr/share/sorvane/home/index.html; do
    grep -qxF "$path" <<<"$contents" || fail "missing $path"
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp/root"
"$tmp/root/usr/bin/sorvane-mkdemo" "$tmp/demo-card" >/dev/null
songs=$("$tmp/root/usr/bin/sorvane-cli" songs "$tmp/demo-card")
head -n1 <<<"$songs" | grep -q $'^Song\tName\tSize\tData Type\tProtected\tCreated with' ||
    fail "unexpected song list heading"
grep -q 'Songs .*Total Size:' <<<"$songs" || fail "no song list status line"
[ "$(grep -c $'^SONG[0-9]\\{3\\}\t' <<<"$songs")" -gt 0 ] || fail "no songs listed"
wave=$(find "$tmp/demo-card" -iname '*.wav' | head -n1)
"$tmp/root/usr/bin/sorvane-cli" play "$wave" --render "$tmp/rendered.wav" | grep -q '^Rendered ' ||
    fail "sorvane-cli play does not find its player module"
"$tmp/root/usr/bin/sorvane-cli" --help | grep -q '^  sorvane-cli songs FOLDER$' ||
    fail "sorvane-cli --help"
if command -v groff >/dev/null; then
    zcat "$tmp/root/usr/share/man/man1/sorvane-cli.1.gz" | groff -man -Tutf8 -ww -z ||
        fail "manual page"
fi

appstreamcli validate --no-net data/sorvane.metainfo.xml
appstreamcli validate-tree --no-net "$tmp/root"
desktop-file-validate data/sorvane.desktop
desktop-file-validate "$tmp/root/usr/share/applications/sorvane.desktop"
echo "check-package: $deb is good"
