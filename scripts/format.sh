#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
# SPDX-License-Identifier: MIT
# Checks that every C++ source has the shape .clang-format gives it and shows
# where a file differs; with --fix, gives the sources that shape. The test
# "format/clang-format" runs the check. The sources keep the shape of
# clang-format 14 (Debian 12's); another version lays some lines out
# differently, so where only such a version is found the check is skipped
# (exit code 77).
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
    exit 77
fi

mapfile -t sources < <(find src tests bench -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = "--fix" ]; then
    "$tool" -i "${sources[@]}"
    exit 0
fi
if "$tool" --dry-run --Werror "${sources[@]}" 2>/dev/null; then
    echo "format: all ${#sources[@]} sources have their shape."
    exit 0
fi
differ=0
for source in "${sources[@]}"; do
    if ! "$tool" "$source" | cmp -s - "$source"; then
        differ=$((differ + 1))
        "$tool" "$source" | diff -u --label "$source" --label "$source (as .clang-format has it)" "$source" - |
            head -n 40 || true
    fi
done
if [ "$differ" -eq 0 ]; then
    # No file differs, yet the check failed: let clang-format say why.
    "$tool" --dry-run --Werror "${sources[@]}"
    exit 1
fi
echo "format: $differ of ${#sources[@]} sources differ from .clang-format; scripts/format.sh --fix mends them." >&2
exit 1
