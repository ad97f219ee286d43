#!/usr/bin/env bash
# The Debian package: cpack -G DEB makes it, and unpacked into a scratch root it holds
# every installed file in its place, and its programs run from there on its own data.
# Usage: package_test.sh BUILD_DIR VERSION SCRATCH_DIR
# Exits 77 (skipped) where the Debian packaging tools are missing.
set -euo pipefail
build=$1 version=$2 scratch=$3

for tool in dpkg-deb dpkg-shlibdeps; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is missing (Debian packages dpkg and dpkg-dev)"
        exit 77
    fi
done
rm -rf "$scratch"
mkdir -p "$scratch/root" "$scratch/work"

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; exit 1; }
deb=$scratch/tessera_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "no $deb:"; ls "$scratch"; exit 1; }

status=0
fields=$(dpkg-deb --field "$deb")
for field in 'Section: graphics' 'Maintainer: ' 'Depends: .*libglut' 'Depends: .*libosmesa' \
    'Depends: .*libpng' 'Description: interactive art piece'; do
    grep -qE "^$field" <<<"$fields" || { echo "no '$field' in the control fields:"; echo "$fields"; status=1; }
done

dpkg -x "$deb" "$scratch/root"
usr=$scratch/root/usr
for file in bin/tessera bin/tessera-set bin/tessera-render \
    share/tessera/fruit.ppm share/tessera/fruit_mask.pgm share/tessera/fruit.map \
    share/tessera/README.md share/tessera/demo.tessera-replay \
    share/man/man1/tessera.1.gz share/man/man1/tessera-set.1.gz share/man/man1/tessera-render.1.gz \
    share/applications/tessera.desktop share/icons/hicolor/scalable/apps/tessera.svg \
    share/icons/hicolor/48x48/apps/tessera.png share/doc/tessera/copyright \
    share/doc/tessera/changelog.gz lib/systemd/user/tessera.service \
    share/doc/tessera/examples/tessera-autostart.desktop; do
    [ -f "$usr/$file" ] || { echo "missing: /usr/$file"; status=1; }
done
if readelf -S "$usr/bin/tessera-render" | grep -q '\.symtab'; then
    echo "/usr/bin/tessera-render is not stripped"
    status=1
fi

# From a folder without a picture set, so that the installed one is the one found.
cd "$scratch/work"
printed=$("$usr/bin/tessera-render" --version)
[ "$printed" = "tessera-render $version" ] || { echo "--version printed '$printed'"; status=1; }
"$usr/bin/tessera-render" "$usr/share/tessera/demo.tessera-replay" --snapshot last.png \
    >render.log 2>&1 || { echo "the installed demo does not render:"; cat render.log; status=1; }
grep -q "^$usr/share/tessera/fruit.ppm: " render.log &&
    grep -q "wrote last.png (640 x 480, frame 2100)" render.log ||
    { echo "not rendered on the installed picture set:"; cat render.log; status=1; }
grep -qx "ExecStart=tessera --fullscreen .*" "$usr/lib/systemd/user/tessera.service" ||
    { echo "the installed unit does not start tessera full screen"; status=1; }
exit $status
