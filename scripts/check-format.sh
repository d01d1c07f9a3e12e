#!/usr/bin/env bash
# Fails, naming the files, when a C++ source is not as .clang-format lays it out (braces on every
# if, else and loop included). With --fix, reformats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
format=clang-format-16
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    "$format" -i "${sources[@]}"
    exit 0
fi
unformatted=()
for f in "${sources[@]}"; do
    "$format" --dry-run --Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (run scripts/check-format.sh --fix):"
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "Formatting: all ${#sources[@]} C++ files as .clang-format says."
