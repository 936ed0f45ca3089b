#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
# SPDX-License-Identifier: MIT
# Checks that every C++ source has the shape .clang-format gives it and names
# the files that differ; with --fix, gives them that shape. The sources are
# kept in the shape of clang-format 14 (Debian 12's); another version lays
# some lines out differently, so the check is left out where only such a
# version is found.
set -euo pipefail
cd "$(dirname "$0")/.."

wanted=14
tool=""
for candidate in "clang-format-$wanted" clang-format; do
    if command -v "$candidate" >/dev/null 2>&1 &&
        "$candidate" --version | grep -Eq "version $wanted\."; then
        tool=$candidate
        break
    fi
done
if [ -z "$tool" ]; then
    echo "format: clang-format $wanted not found; the sources' shape is not checked." >&2
    exit 0
fi

mapfile -t sources < <(find src tests bench -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = "--fix" ]; then
    "$tool" -i "${sources[@]}"
    exit 0
fi
differ=()
for source in "${sources[@]}"; do
    "$tool" "$source" | cmp -s - "$source" || differ+=("$source")
done
if [ ${#differ[@]} -ne 0 ]; then
    echo "format: these files differ from .clang-format (scripts/format.sh --fix mends them):" >&2
    printf '  %s\n' "${differ[@]}" >&2
    exit 1
fi
echo "format: all ${#sources[@]} sources have their shape."
