#!/usr/bin/env bash
# Packages a build as a .deb with CPack and checks it: the dependencies dpkg-shlibdeps computed
# name the Debian runtime packages of the libraries the program links; dpkg installs it into a
# scratch root of its own, and the program installed there starts and runs headless.
# Usage: check_deb.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check_deb: $*" >&2; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/snowmere_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "cpack wrote no .deb"

depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
for p in libc6 libstdc++6 libsdl2-2.0-0 libopenal1 libpng16-16 libjpeg62-turbo libvorbisfile3 \
         libfreetype6 libgl1-mesa-dri; do
  grep -Fqx "$p" <<<"$names" || fail "Depends lacks $p: $depends"
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section"
listing=$(dpkg-deb -c "$deb")
for f in ./usr/bin/snowmere ./usr/share/applications/net.brimlet.snowmere.desktop \
         ./usr/share/metainfo/net.brimlet.snowmere.metainfo.xml \
         ./usr/share/icons/hicolor/256x256/apps/net.brimlet.snowmere.png \
         ./usr/share/doc/snowmere/copyright; do
  grep -q " $f\$" <<<"$listing" || fail "the package lacks $f"
done

# dpkg's own install into an empty root (its dependencies live on the host, not in the root).
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless -i "$deb" \
  >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i failed"; }
dpkg --root="$root" -s snowmere | grep -q '^Status: install ok installed' || fail "not installed"
"$root/usr/bin/snowmere" --headless --skip-logos --fixed-delta 20 --frames 30 \
  --data-dir "$work/data" --dump-state "$work/state.json"
grep -q '"passes": 30,' "$work/state.json" || fail "the installed program did not run its 30 passes"
echo "check_deb: $(basename "$deb") installs and runs; Depends: $depends"
