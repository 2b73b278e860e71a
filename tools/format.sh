#!/usr/bin/env bash
# Formats every C++ file of the tree with the repository's .clang-format, or with --check lists
# the files that are not formatted and fails.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "format.sh: clang-format is not installed" >&2; exit 2; }
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
    bad=()
    for f in "${files[@]}"; do
        clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
    done
    if [ ${#bad[@]} -gt 0 ]; then
        echo "Not formatted (run bash tools/format.sh):" >&2
        printf '  %s\n' "${bad[@]}" >&2
        exit 1
    fi
    echo "format: ${#files[@]} files formatted"
else
    clang-format -i "${files[@]}"
fi
