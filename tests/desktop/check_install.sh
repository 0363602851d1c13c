#!/usr/bin/env bash
# Installs a build into a scratch folder and checks what a desktop needs: the program in bin/,
# the launcher (a Game;LogicGame entry), the icon at every hicolor size and as SVG, the AppStream
# file and the licences. The launcher and the AppStream file must pass their validators, and the
# installed program must start and run headless.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
id=net.brimlet.snowmere
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "check_install: $*" >&2; exit 1; }

for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done

cmake --install "$build" --prefix "$root/usr" >/dev/null
share=$root/usr/share
for f in bin/snowmere share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$id.svg share/doc/snowmere/copyright \
         share/doc/snowmere/licenses/README.md share/doc/snowmere/licenses/libsdl2-2.0-0.copyright; do
  [ -s "$root/usr/$f" ] || fail "missing $f"
done
[ -x "$root/usr/bin/snowmere" ] || fail "bin/snowmere is not executable"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
for n in 16 22 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${n}x${n}/apps/$id.png
  [ -s "$png" ] || fail "missing the ${n}px icon"
  [ "$(png_size "$png")" = "${n}x${n}" ] || fail "the ${n}px icon is $(png_size "$png")"
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/$id.svg" || fail "the scalable icon is no SVG"

desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate refused the launcher"
grep -qx 'Categories=Game;LogicGame;' "$share/applications/$id.desktop" || fail "launcher categories"
grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "launcher icon"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "appstreamcli refused the metainfo"
[ "$(grep -c '<screenshot' "$share/metainfo/$id.metainfo.xml")" -ge 2 ] || fail "two screenshots"

"$root/usr/bin/snowmere" --headless --skip-logos --fixed-delta 20 --frames 30 \
  --data-dir "$root/data" --dump-state "$root/state.json"
grep -q '"passes": 30,' "$root/state.json" || fail "the installed program did not run its 30 passes"
echo "check_install: the install tree is complete, valid and runs"
