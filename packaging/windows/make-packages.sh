#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows packages, from a build of scripts/windows:
#   make-packages.sh BUILD-WINDOWS-DIR
# makes BUILD-WINDOWS-DIR/kdr-switch-panel-VERSION-windows-x64.zip (the three
# programs, READ-ME.txt, LICENSE.txt, THIRD-PARTY-NOTICES.txt and the licence texts it
# names in licences/) and
# BUILD-WINDOWS-DIR/kdr-switch-panel-VERSION-windows-x64-setup.exe (NSIS).
set -euo pipefail
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(kdr-switch-panel VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
name=kdr-switch-panel-$version-windows-x64
stage="$build/package/$name"
rm -rf "$build/package"
mkdir -p "$stage"
cp "$build"/bin/kdr-switch-panel.exe "$build"/bin/kdr-switch-panel-simulated.exe "$build"/bin/kdr-panel.exe "$stage/"
# Texts for Windows: CR LF line ends.
for text in LICENSE:LICENSE.txt packaging/windows/READ-ME.txt:READ-ME.txt \
    packaging/windows/THIRD-PARTY-NOTICES.txt:THIRD-PARTY-NOTICES.txt; do
    sed 's/\r\{0,1\}$/\r/' "$top/${text%%:*}" >"$stage/${text##*:}"
done
mkdir -p "$stage/licences"
for text in "$top"/packaging/windows/licences/*.txt; do
    sed 's/\r\{0,1\}$/\r/' "$text" >"$stage/licences/$(basename "$text")"
done
# The same time on every file, so that the same sources give the same zip.
touch -d "@$(git -C "$top" log -1 --format=%ct 2>/dev/null || date +%s)" "$stage"/* "$stage"/licences/*
rm -f "$build/$name.zip"
(cd "$build/package" && zip -q -X -9 -r "$build/$name.zip" "$name")
echo "made $build/$name.zip ($(du -k "$build/$name.zip" | cut -f1) kB)"

size_kb=$(du -ck "$stage"/*.exe | tail -n 1 | cut -f1)
makensis -V2 -DVERSION="$version" -DBIN="$stage" -DTOP="$top" -DSIZE_KB="$size_kb" \
    -DOUT="$build/$name-setup.exe" "$top/packaging/windows/installer.nsi"
echo "made $build/$name-setup.exe ($(du -k "$build/$name-setup.exe" | cut -f1) kB)"
