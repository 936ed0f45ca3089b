#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
# SPDX-License-Identifier: MIT
# Installs what building and testing the editor needs, where it is missing.
# Sourced by ./run and ./test.

# qt6-svg-dev and libqt6svg6 draw the icons from SVG (libqt6svg6 holds the icon
# engine plugin); the rest of the second line builds and checks the Debian
# package: rsvg-convert draws the theme icons, gzip and groff for the manual
# page, dpkg-dev for dpkg-shlibdeps, lintian, appstream and file for cpack.
qbe_packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev clang-format
              fonts-liberation ccache desktop-file-utils poppler-utils
              qt6-svg-dev libqt6svg6 librsvg2-bin dpkg-dev lintian appstream groff-base gzip file)

qbe_missing_packages() {
    local missing=()
    local pkg
    for pkg in "${qbe_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    echo "${missing[@]}"
}

qbe_install_deps() {
    if command -v apt-get >/dev/null 2>&1 && command -v dpkg-query >/dev/null 2>&1; then
        local missing
        missing=$(qbe_missing_packages)
        [ -z "$missing" ] && return 0
        echo "Installing: $missing"
        local sudo=""
        if [ "$(id -u)" -ne 0 ]; then
            sudo="sudo"
        fi
        # shellcheck disable=SC2086
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
            $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
        return $?
    fi
    if ! command -v cmake >/dev/null 2>&1 || ! command -v ninja >/dev/null 2>&1; then
        echo "Please install: CMake 3.21 or newer, Ninja, a C++17 compiler and Qt 6.4 or newer" \
             "(Core, Gui, Widgets, PrintSupport, Network, Svg, Test)." >&2
        return 1
    fi
    return 0
}
