#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
# SPDX-License-Identifier: MIT
# Installs what building, running and testing the editor needs, where it is
# missing. Sourced by ./run (qbe_install_deps run) and ./test (qbe_install_deps test).

# Building and running the editor: the compiler and Qt; qt6-svg-dev and
# libqt6svg6 draw the icons from SVG (libqt6svg6 holds the icon engine
# plugin); configuring the tree draws the theme icons (rsvg-convert) and packs
# the manual page (gzip); the About box's fonts; update-desktop-database for
# the file type the editor registers for the user. qt6-base-dev brings Qt Xml,
# which reads and writes the desktop's list of recently used files;
# qt6-l10n-tools and qt6-tools-dev (lupdate and its CMake support) gather the
# texts to translate into the translation template.
qbe_run_packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev
                  qt6-svg-dev libqt6svg6 librsvg2-bin gzip fonts-liberation desktop-file-utils
                  qt6-l10n-tools qt6-tools-dev)
# Testing besides: ccache for the many rebuilds, clang-format checks the
# sources' shape, pdftotext reads the printout; dpkg-dev, lintian, appstream,
# groff and file build and check the Debian package; a CJK face that makes
# its rows taller than the editor's font, for the line numbers' baseline.
qbe_test_packages=(ccache clang-format poppler-utils dpkg-dev lintian appstream groff-base file
                   fonts-wqy-zenhei)

# The packages of the given set ("run" or "test") that are not installed.
qbe_missing_packages() {
    local wanted=("${qbe_run_packages[@]}")
    [ "${1:-test}" = run ] || wanted+=("${qbe_test_packages[@]}")
    local missing=()
    local pkg
    for pkg in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    echo "${missing[@]}"
}

qbe_install_deps() {
    if command -v apt-get >/dev/null 2>&1 && command -v dpkg-query >/dev/null 2>&1; then
        local missing
        missing=$(qbe_missing_packages "${1:-test}")
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
        echo "Please install: CMake 3.21 or newer, Ninja, a C++17 compiler, Qt 6.4 or newer" \
             "(Core, Gui, Widgets, PrintSupport, Network, Svg, Test) and, on Linux, rsvg-convert and gzip." >&2
        return 1
    fi
    return 0
}
