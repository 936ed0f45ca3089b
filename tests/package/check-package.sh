#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
# SPDX-License-Identifier: MIT
# Builds the Debian package from its own tree (out/package, the "package"
# preset) and checks what it installs: lintian finds no errors, the desktop
# entry and the AppStream metainfo validate, every icon has its size, the
# manual page is there and formats cleanly, and the program answers --version.
# Usage: check-package.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build_dir="$source_dir/out/package"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in cmake cpack lintian dpkg-deb dpkg-shlibdeps appstreamcli desktop-file-validate rsvg-convert groff; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; scripts/deps.sh installs it" >&2; exit 1; }
done

cd "$source_dir"
nice -n 10 cmake --preset package >/dev/null
nice -n 10 cmake --build --preset package
rm -f "$build_dir"/*.deb
(cd "$build_dir" && cpack -G DEB)

version=$(sed -n 's/^set(QBE_VERSION_LETTER "\(.*\)")$/\1/p' CMakeLists.txt)
version=$(sed -n 's/^project(QuarnBasicEditor VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)$version
app_id=$(sed -n 's/^set(QBE_APP_ID "\(.*\)")$/\1/p' CMakeLists.txt)
deb="$build_dir/quarn-basic-editor_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "FAIL: cpack made no $deb" >&2; ls "$build_dir" >&2; exit 1; }

echo "== control"
dpkg-deb --field "$deb"
[ "$(dpkg-deb --field "$deb" Package)" = quarn-basic-editor ] || fail "package name"
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "package version is not $version"
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks what dpkg-shlibdeps finds"
dpkg-deb --field "$deb" Depends | grep -q 'libqt6svg6' || fail "Depends lacks the SVG icon engine"
[ -n "$(dpkg-deb --field "$deb" Homepage)" ] || fail "no Homepage"
[ -n "$(dpkg-deb --field "$deb" Maintainer)" ] || fail "no Maintainer"

echo "== lintian"
report=$(lintian --allow-root "$deb" 2>&1) || true
echo "$report"
if grep -q '^E:' <<<"$report"; then
    fail "lintian reports errors"
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
share="$root/usr/share"

echo "== appstream"
metainfo="$share/metainfo/$app_id.metainfo.xml"
[ -f "$metainfo" ] || fail "no $metainfo"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"

echo "== desktop entry"
desktop="$share/applications/$app_id.desktop"
[ -f "$desktop" ] || fail "no $desktop"
said=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate"
[ -z "$said" ] || fail "desktop-file-validate: $said"
grep -qx 'StartupNotify=true' "$desktop" || fail "desktop entry: no StartupNotify=true"
grep -qx 'StartupWMClass=Quarn BASIC Editor' "$desktop" || fail "desktop entry: StartupWMClass is not the window class"

echo "== icons"
# Width and height are the big-endian words at bytes 16 and 20 of a PNG (IHDR).
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }
for context_name in apps/quarn-basic-editor mimetypes/text-x-quarnbasic; do
    for size in 16 24 32 48 64 128 256; do
        png="$share/icons/hicolor/${size}x${size}/$context_name.png"
        if [ ! -f "$png" ]; then
            fail "no $png"
        elif [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
            fail "$png is no PNG"
        elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
            fail "$png is $(png_size "$png"), not ${size}x${size}"
        fi
    done
    [ -f "$share/icons/hicolor/scalable/$context_name.svg" ] || fail "no scalable $context_name.svg"
done
grep -q '<icon name="text-x-quarnbasic"/>' "$share/mime/packages/quarn-basic-editor.xml" || fail "MIME package names no icon"

echo "== manual page"
man_page="$share/man/man1/quarn-basic-editor.1.gz"
if [ -f "$man_page" ]; then
    warnings=$(zcat "$man_page" | groff -man -ww -z 2>&1) || fail "groff failed"
    [ -z "$warnings" ] || fail "groff: $warnings"
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES KEYS "SEE ALSO"; do
        zcat "$man_page" | grep -q "^\.SH \"\?$section\"\?$" || fail "manual page lacks $section"
    done
else
    fail "no $man_page"
fi
[ -f "$share/doc/quarn-basic-editor/copyright" ] || fail "no copyright file"
[ -f "$share/doc/quarn-basic-editor/changelog.gz" ] || fail "no changelog"

echo "== program"
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/quarn-basic-editor" --version) ||
    fail "--version ended with $?"
[ "$answer" = "Quarn BASIC Editor $version" ] || fail "--version said \"$answer\""

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "package checks passed: $deb"
